// The request object's members: what each one checks, keeps and sends.
#include "winhttp/winhttp_request.h"

#include "oleaut32/safe_array.h"
#include "winhttp/dispatch_arguments.h"
#include "winhttp/text_encoding.h"
#include "winhttp/transfer/ascii_text.h"
#include "winhttp/transfer/url_escape.h"
#include "winhttp/winhttp.h"

#include <cstring>

namespace {

// An HTTP token: what a method or a header name may be made of.
bool IsToken(std::string_view text) {
  if (text.empty())
    return false;
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b >= 0x7F || std::strchr("()<>@,;:\\\"/[]?={}", c))
      return false;
  }
  return true;
}

long TimeoutOf(LONG ms) { return ms > 0 ? ms : 0; }

HRESULT ResultOf(TransferError error) {
  switch (error) {
  case TransferError::None:
    return S_OK;
  case TransferError::InvalidUrl:
    return WINHTTP_E_INVALID_URL;
  case TransferError::UnsupportedScheme:
    return WINHTTP_E_UNRECOGNIZED_SCHEME;
  case TransferError::NameNotResolved:
    return WINHTTP_E_NAME_NOT_RESOLVED;
  case TransferError::CannotConnect:
    return WINHTTP_E_CANNOT_CONNECT;
  case TransferError::Timeout:
    return WINHTTP_E_TIMEOUT;
  case TransferError::ConnectionBroken:
    return WINHTTP_E_CONNECTION_ERROR;
  case TransferError::InvalidResponse:
    return WINHTTP_E_INVALID_SERVER_RESPONSE;
  case TransferError::TooManyRedirects:
    return WINHTTP_E_REDIRECT_FAILED;
  case TransferError::SecureFailure:
    return WINHTTP_E_SECURE_FAILURE;
  case TransferError::OutOfMemory:
    return E_OUTOFMEMORY;
  case TransferError::Internal:
    break;
  }
  return WINHTTP_E_INTERNAL_ERROR;
}

HRESULT StoreText(std::u16string_view text, VARIANT* result) {
  BSTR made = AllocBstr(text);
  if (!made)
    return E_OUTOFMEMORY;
  result->vt = VT_BSTR;
  result->bstrVal = made;
  return S_OK;
}

HRESULT StoreBool(bool value, VARIANT* result) {
  result->vt = VT_BOOL;
  result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT StoreLong(LONG value, VARIANT* result) {
  result->vt = VT_I4;
  result->lVal = value;
  return S_OK;
}

HRESULT BytesOfArray(SAFEARRAY* array, std::optional<std::string>* body) {
  if (!array) {
    body->reset();
    return S_OK;
  }
  VARTYPE type = 0;
  if (FAILED(SafeArrayGetVartype(array, &type)) || type != VT_UI1)
    return DISP_E_TYPEMISMATCH;
  size_t count = 1;
  for (USHORT i = 0; i < array->cDims; i++)
    count *= array->rgsabound[i].cElements;
  void* data = nullptr;
  if (HRESULT hr = SafeArrayAccessData(array, &data); FAILED(hr))
    return hr;
  body->emplace(static_cast<const char*>(data), count);
  SafeArrayUnaccessData(array);
  return S_OK;
}

// The body "Send" was given: nothing, text (sent as UTF-8), or bytes.
HRESULT BodyOf(const VARIANT* v, std::optional<std::string>* body) {
  body->reset();
  if (!v || v->vt == VT_EMPTY || v->vt == VT_NULL || (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND))
    return S_OK;
  if (v->vt == (VT_ARRAY | VT_UI1))
    return BytesOfArray(v->parray, body);
  if (v->vt == (VT_BYREF | VT_ARRAY | VT_UI1))
    return BytesOfArray(v->pparray ? *v->pparray : nullptr, body);
  if (v->vt & VT_ARRAY)
    return DISP_E_TYPEMISMATCH;
  VARIANT text;
  VariantInit(&text);
  if (HRESULT hr = VariantChangeType(&text, v, 0, VT_BSTR); FAILED(hr))
    return hr;
  std::string utf8 = Utf8FromUtf16(ViewOf(text.bstrVal));
  VariantClear(&text);
  if (!utf8.empty())
    *body = std::move(utf8);
  return S_OK;
}

} // namespace

HRESULT WinHttpRequest::open(DispatchArguments& args) {
  if (HRESULT hr = args.check(2, 3); FAILED(hr))
    return hr;
  std::u16string method, url;
  bool async = false;
  if (HRESULT hr = args.readString(0, &method); FAILED(hr))
    return hr;
  if (HRESULT hr = args.readString(1, &url); FAILED(hr))
    return hr;
  if (args.present(2)) {
    // Accepted, but every request is carried out synchronously by Send.
    if (HRESULT hr = args.readBool(2, &async); FAILED(hr))
      return hr;
  }
  std::string wireMethod = Utf8FromUtf16(method);
  if (!IsToken(wireMethod))
    return E_INVALIDARG;
  std::string wireUrl = PercentEncodeUnsafe(Utf8FromUtf16(url), true);
  if (HRESULT hr = ResultOf(CheckTransferUrl(wireUrl)); FAILED(hr))
    return hr;
  opened_ = Opened{std::move(wireMethod), std::move(wireUrl), {}};
  response_.reset();
  return S_OK;
}

HRESULT WinHttpRequest::setRequestHeader(DispatchArguments& args) {
  if (HRESULT hr = args.check(2, 2); FAILED(hr))
    return hr;
  if (!opened_)
    return WINHTTP_E_CANNOT_CALL_BEFORE_OPEN;
  std::u16string name, value;
  if (HRESULT hr = args.readString(0, &name); FAILED(hr))
    return hr;
  if (HRESULT hr = args.readString(1, &value); FAILED(hr))
    return hr;
  std::string wireName = Utf8FromUtf16(name);
  std::string wireValue = Utf8FromUtf16(value);
  if (!IsToken(wireName) || wireValue.find_first_of("\r\n") != std::string::npos)
    return E_INVALIDARG;
  for (auto& [setName, setValue] : opened_->headers) {
    if (SameAsciiText(setName, wireName)) {
      setValue = std::move(wireValue);
      return S_OK;
    }
  }
  opened_->headers.emplace_back(std::move(wireName), std::move(wireValue));
  return S_OK;
}

TransferRequest WinHttpRequest::transferRequest(std::optional<std::string> body) const {
  TransferRequest request;
  request.method = opened_->method;
  request.url = opened_->url;
  bool agentSet = false;
  for (const auto& [name, value] : opened_->headers)
    agentSet = agentSet || SameAsciiText(name, "User-Agent");
  if (!userAgent_.empty() && !agentSet)
    request.headers.push_back("User-Agent: " + Utf8FromUtf16(userAgent_));
  for (const auto& [name, value] : opened_->headers)
    request.headers.push_back(name + ": " + value);
  request.body = std::move(body);
  request.proxy = proxy_;
  request.user = user_;
  request.password = password_;
  request.proxyUser = proxyUser_;
  request.proxyPassword = proxyPassword_;
  request.timeouts = timeouts_;
  request.followRedirects = followRedirects_;
  request.maxRedirects = maxRedirects_;
  request.httpsToHttpRedirects = httpsToHttpRedirects_;
  return request;
}

void WinHttpRequest::keepResponse(const HttpTransfer& transfer, std::string body) {
  const ResponseHead& head = transfer.head();
  response_ = Response{head.status, head.reason, head.lines, std::move(body), head.url};
}

HRESULT WinHttpRequest::send(DispatchArguments& args) {
  if (HRESULT hr = args.check(0, 1); FAILED(hr))
    return hr;
  if (!opened_)
    return WINHTTP_E_CANNOT_CALL_BEFORE_OPEN;
  std::optional<std::string> body;
  if (HRESULT hr = BodyOf(args.value(0), &body); FAILED(hr))
    return hr;
  response_.reset();
  HttpTransfer transfer(transferRequest(std::move(body)));
  std::string received;
  if (!transfer.awaitHead() || transfer.readAll(&received) != TransferError::None)
    return ResultOf(transfer.error());
  keepResponse(transfer, std::move(received));
  return S_OK;
}

HRESULT WinHttpRequest::setTimeouts(DispatchArguments& args) {
  if (HRESULT hr = args.check(4, 4); FAILED(hr))
    return hr;
  LONG values[4] = {};
  for (UINT i = 0; i < 4; i++) {
    if (HRESULT hr = args.readLong(i, &values[i]); FAILED(hr))
      return hr;
    if (values[i] < -1)
      return E_INVALIDARG;
  }
  // values[0], the resolve limit, counts within the connect time-out.
  timeouts_.connectMs = TimeoutOf(values[1]);
  timeouts_.sendMs = TimeoutOf(values[2]);
  timeouts_.receiveMs = TimeoutOf(values[3]);
  return S_OK;
}

HRESULT WinHttpRequest::setProxy(DispatchArguments& args) {
  if (HRESULT hr = args.check(1, 3); FAILED(hr))
    return hr;
  LONG setting = 0;
  if (HRESULT hr = args.readLong(0, &setting); FAILED(hr))
    return hr;
  ProxyChoice choice;
  if (setting == HTTPREQUEST_PROXYSETTING_PRECONFIG) {
    choice.kind = ProxyChoice::Kind::System;
  } else if (setting == HTTPREQUEST_PROXYSETTING_DIRECT) {
    choice.kind = ProxyChoice::Kind::Direct;
  } else if (setting == HTTPREQUEST_PROXYSETTING_PROXY) {
    std::u16string server, bypass;
    if (!args.present(1))
      return DISP_E_PARAMNOTOPTIONAL;
    if (HRESULT hr = args.readString(1, &server); FAILED(hr))
      return hr;
    if (args.present(2)) {
      if (HRESULT hr = args.readString(2, &bypass); FAILED(hr))
        return hr;
    }
    choice.kind = ProxyChoice::Kind::Named;
    choice.server = Utf8FromUtf16(server);
    choice.bypass = Utf8FromUtf16(bypass);
    if (choice.server.empty())
      return E_INVALIDARG;
  } else {
    return E_INVALIDARG;
  }
  proxy_ = std::move(choice);
  return S_OK;
}

HRESULT WinHttpRequest::setCredentials(DispatchArguments& args, bool proxyOnly) {
  if (HRESULT hr = args.check(3, 3); FAILED(hr))
    return hr;
  std::u16string user, password;
  LONG flags = 0;
  if (HRESULT hr = args.readString(0, &user); FAILED(hr))
    return hr;
  if (HRESULT hr = args.readString(1, &password); FAILED(hr))
    return hr;
  if (HRESULT hr = args.readLong(2, &flags); FAILED(hr))
    return hr;
  if (flags != HTTPREQUEST_SETCREDENTIALS_FOR_SERVER && flags != HTTPREQUEST_SETCREDENTIALS_FOR_PROXY)
    return E_INVALIDARG;
  if (proxyOnly || flags == HTTPREQUEST_SETCREDENTIALS_FOR_PROXY) {
    proxyUser_ = Utf8FromUtf16(user);
    proxyPassword_ = Utf8FromUtf16(password);
  } else {
    user_ = Utf8FromUtf16(user);
    password_ = Utf8FromUtf16(password);
  }
  return S_OK;
}

HRESULT WinHttpRequest::getOption(LONG index, VARIANT* result) {
  switch (index) {
  case WinHttpRequestOption_UserAgentString:
    return StoreText(userAgent_, result);
  case WinHttpRequestOption_URL: {
    std::string url = response_ ? response_->url : opened_ ? opened_->url : std::string();
    return StoreText(TextFromWireBytes(url), result);
  }
  case WinHttpRequestOption_EnableRedirects:
    return StoreBool(followRedirects_, result);
  case WinHttpRequestOption_EnableHttpsToHttpRedirects:
    return StoreBool(httpsToHttpRedirects_, result);
  case WinHttpRequestOption_MaxAutomaticRedirects:
    return StoreLong(maxRedirects_, result);
  default:
    return E_INVALIDARG;
  }
}

HRESULT WinHttpRequest::putOption(LONG index, DispatchArguments& args) {
  switch (index) {
  case WinHttpRequestOption_UserAgentString:
    return args.readPutString(&userAgent_);
  case WinHttpRequestOption_EnableRedirects:
    return args.readPutBool(&followRedirects_);
  case WinHttpRequestOption_EnableHttpsToHttpRedirects:
    return args.readPutBool(&httpsToHttpRedirects_);
  case WinHttpRequestOption_MaxAutomaticRedirects: {
    LONG most = 0;
    if (HRESULT hr = args.readPutLong(&most); FAILED(hr))
      return hr;
    if (most < 0)
      return E_INVALIDARG;
    maxRedirects_ = most;
    return S_OK;
  }
  default:
    return E_INVALIDARG;
  }
}

HRESULT WinHttpRequest::getStatus(VARIANT* result) {
  if (!response_)
    return WINHTTP_E_CANNOT_CALL_BEFORE_SEND;
  return StoreLong(response_->status, result);
}

HRESULT WinHttpRequest::getStatusText(VARIANT* result) {
  if (!response_)
    return WINHTTP_E_CANNOT_CALL_BEFORE_SEND;
  return StoreText(TextFromWireBytes(response_->reason), result);
}

HRESULT WinHttpRequest::getResponseText(VARIANT* result) {
  if (!response_)
    return WINHTTP_E_CANNOT_CALL_BEFORE_SEND;
  return StoreText(TextFromWireBytes(response_->body), result);
}

HRESULT WinHttpRequest::getResponseBody(VARIANT* result) {
  if (!response_)
    return WINHTTP_E_CANNOT_CALL_BEFORE_SEND;
  const std::string& body = response_->body;
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(body.size()));
  if (!array)
    return E_OUTOFMEMORY;
  if (!body.empty())
    std::memcpy(array->pvData, body.data(), body.size());
  result->vt = VT_ARRAY | VT_UI1;
  result->parray = array;
  return S_OK;
}

HRESULT WinHttpRequest::getAllResponseHeaders(VARIANT* result) {
  if (!response_)
    return WINHTTP_E_CANNOT_CALL_BEFORE_SEND;
  std::string text;
  for (const std::string& line : response_->lines)
    text += line + "\r\n";
  return StoreText(TextFromWireBytes(text), result);
}

HRESULT WinHttpRequest::getResponseHeader(DispatchArguments& args, VARIANT* result) {
  if (HRESULT hr = args.check(1, 1); FAILED(hr))
    return hr;
  std::u16string name;
  if (HRESULT hr = args.readString(0, &name); FAILED(hr))
    return hr;
  if (!response_)
    return WINHTTP_E_CANNOT_CALL_BEFORE_SEND;
  std::string wanted = Utf8FromUtf16(name);
  for (const std::string& line : response_->lines) {
    size_t colon = line.find(':');
    if (colon == std::string::npos || !SameAsciiText(std::string_view(line).substr(0, colon), wanted))
      continue;
    size_t start = line.find_first_not_of(" \t", colon + 1);
    return StoreText(TextFromWireBytes(start == std::string::npos ? "" : line.substr(start)), result);
  }
  return WINHTTP_E_HEADER_NOT_FOUND;
}
