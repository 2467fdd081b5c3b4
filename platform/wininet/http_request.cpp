// HTTP requests: opening, sending, reading the response head and body.
#include "wininet/http.h"

#include "winhttp/transfer/ascii_text.h"
#include "winhttp/transfer/url_escape.h"
#include "wininet/internet_handles.h"
#include "wininet/request_headers.h"

#include <cstdlib>
#include <cstring>

namespace {

DWORD ErrorOf(TransferError error) {
  switch (error) {
  case TransferError::None:
    return ERROR_SUCCESS;
  case TransferError::InvalidUrl:
    return ERROR_INTERNET_INVALID_URL;
  case TransferError::UnsupportedScheme:
    return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  case TransferError::NameNotResolved:
    return ERROR_INTERNET_NAME_NOT_RESOLVED;
  case TransferError::CannotConnect:
    return ERROR_INTERNET_CANNOT_CONNECT;
  case TransferError::Timeout:
    return ERROR_INTERNET_TIMEOUT;
  case TransferError::ConnectionBroken:
    return ERROR_INTERNET_CONNECTION_ABORTED;
  case TransferError::InvalidResponse:
    return ERROR_HTTP_INVALID_SERVER_RESPONSE;
  case TransferError::TooManyRedirects:
    return ERROR_HTTP_REDIRECT_FAILED;
  case TransferError::SecureFailure:
    return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
  case TransferError::OutOfMemory:
    return ERROR_NOT_ENOUGH_MEMORY;
  case TransferError::Internal:
    break;
  }
  return ERROR_INTERNET_INTERNAL_ERROR;
}

std::string OriginOf(const InternetConnection& connection, bool secure) {
  INTERNET_PORT standard = secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
  INTERNET_PORT port = connection.port == INTERNET_INVALID_PORT_NUMBER ? standard : connection.port;
  const std::string& host = connection.host;
  bool literal6 = host.find(':') != std::string::npos && host.front() != '[';
  std::string origin = std::string(secure ? "https://" : "http://") + (literal6 ? "[" + host + "]" : host);
  return port == standard ? origin : origin + ":" + std::to_string(port);
}

// The request target: the object path's bytes as given, with only what
// would break the request line (blanks, control bytes) escaped.
std::string TargetOf(const std::string& path) {
  std::string target = PercentEncodeUnsafe(path, false);
  if (target.empty())
    return "/";
  if (target.front() != '/' && target.find("://") == std::string::npos)
    target.insert(target.begin(), '/');
  return target;
}

TransferRequest TransferOf(const HttpRequestObject& request, const InternetConnection& connection,
                           const InternetSession& session, LPCSTR extraHeaders, DWORD extraLength,
                           LPVOID optional, DWORD optionalLength) {
  RequestHeaders headers;
  if (!session.agent.empty())
    headers.set("User-Agent", session.agent);
  std::string accept = AcceptValue(request.acceptTypes);
  if (!accept.empty())
    headers.set("Accept", accept);
  if (!request.referrer.empty())
    headers.set("Referer", request.referrer);
  if (request.flags & INTERNET_FLAG_RELOAD) {
    headers.set("Pragma", "no-cache");
    headers.set("Cache-Control", "no-cache");
  }
  if (extraHeaders) {
    size_t length = extraLength == 0 || extraLength == 0xFFFFFFFF ? std::strlen(extraHeaders) : extraLength;
    headers.addText(std::string_view(extraHeaders, length));
  }

  TransferRequest transfer;
  transfer.method = request.verb;
  transfer.url = OriginOf(connection, request.flags & INTERNET_FLAG_SECURE) + "/";
  transfer.rawTarget = TargetOf(request.path);
  transfer.headers = headers.lines();
  if (optional && optionalLength > 0)
    transfer.body = std::string(static_cast<const char*>(optional), optionalLength);
  transfer.http10 = request.version == "HTTP/1.0";
  transfer.proxy = session.proxy;
  const InternetObject& credentials =
      request.proxyUser.empty() ? static_cast<const InternetObject&>(connection) : request;
  transfer.proxyUser = credentials.proxyUser;
  transfer.proxyPassword = credentials.proxyPassword;
  transfer.user = connection.user;
  transfer.password = connection.password;
  transfer.timeouts = request.timeouts;
  transfer.followRedirects = !(request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT);
  return transfer;
}

std::shared_ptr<HttpRequestObject> FindRequest(HINTERNET handle) {
  return ProcessInternetHandles().findAs<HttpRequestObject>(handle, InternetObject::Kind::Request);
}

BOOL CopyText(const std::string& value, LPVOID buffer, DWORD* length) {
  DWORD needed = static_cast<DWORD>(value.size() + 1);
  if (!buffer || *length < needed) {
    *length = needed;
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  std::memcpy(buffer, value.data(), value.size());
  static_cast<char*>(buffer)[value.size()] = 0;
  *length = static_cast<DWORD>(value.size());
  return TRUE;
}

BOOL CopyNumber(const std::string& value, LPVOID buffer, DWORD* length) {
  char* end = nullptr;
  unsigned long number = std::strtoul(value.c_str(), &end, 10);
  if (value.empty() || *end != 0)
    return Fail(ERROR_HTTP_INVALID_HEADER);
  if (!buffer || *length < sizeof(DWORD)) {
    *length = sizeof(DWORD);
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  DWORD n = static_cast<DWORD>(number);
  std::memcpy(buffer, &n, sizeof n);
  *length = sizeof n;
  return TRUE;
}

const char* HeaderNameOf(DWORD level) {
  switch (level) {
  case HTTP_QUERY_CONTENT_TYPE:
    return "Content-Type";
  case HTTP_QUERY_CONTENT_LENGTH:
    return "Content-Length";
  case HTTP_QUERY_DATE:
    return "Date";
  case HTTP_QUERY_LAST_MODIFIED:
    return "Last-Modified";
  case HTTP_QUERY_CONTENT_ENCODING:
    return "Content-Encoding";
  case HTTP_QUERY_LOCATION:
    return "Location";
  case HTTP_QUERY_SERVER:
    return "Server";
  case HTTP_QUERY_SET_COOKIE:
    return "Set-Cookie";
  default:
    return nullptr;
  }
}

std::vector<std::string> HeaderValues(const ResponseHead& head, std::string_view name) {
  std::vector<std::string> values;
  for (const std::string& line : head.lines) {
    size_t colon = line.find(':');
    if (colon == std::string::npos)
      continue;
    std::string_view found = std::string_view(line).substr(0, colon);
    while (!found.empty() && (found.back() == ' ' || found.back() == '\t'))
      found.remove_suffix(1);
    if (!SameAsciiText(found, name))
      continue;
    size_t start = line.find_first_not_of(" \t", colon + 1);
    std::string value = start == std::string::npos ? "" : line.substr(start);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
      value.pop_back();
    values.push_back(std::move(value));
  }
  return values;
}

// The values a query level stands for, in order; empty when none.
std::vector<std::string> QueryValues(const ResponseHead& head, DWORD level, LPVOID buffer) {
  switch (level) {
  case HTTP_QUERY_STATUS_CODE:
    return {std::to_string(head.status)};
  case HTTP_QUERY_STATUS_TEXT:
    return {head.reason};
  case HTTP_QUERY_RAW_HEADERS_CRLF: {
    std::string text = head.statusLine + "\r\n";
    for (const std::string& line : head.lines)
      text += line + "\r\n";
    return {text + "\r\n"};
  }
  case HTTP_QUERY_RAW_HEADERS: {
    std::string text = head.statusLine + '\0';
    for (const std::string& line : head.lines)
      text += line + '\0';
    return {text};
  }
  case HTTP_QUERY_CUSTOM:
    return buffer ? HeaderValues(head, static_cast<const char*>(buffer)) : std::vector<std::string>();
  default:
    if (const char* name = HeaderNameOf(level))
      return HeaderValues(head, name);
    return {};
  }
}

} // namespace

HINTERNET HttpOpenRequestA(HINTERNET connectionHandle, LPCSTR verb, LPCSTR objectPath, LPCSTR version,
                           LPCSTR referrer, LPCSTR* acceptTypes, DWORD flags, DWORD_PTR) {
  return GuardedHandle([&]() -> HINTERNET {
    auto connection = ProcessInternetHandles().findAs<InternetConnection>(connectionHandle,
                                                                          InternetObject::Kind::Connection);
    if (!connection)
      return FailNull(ERROR_INVALID_HANDLE);
    auto request = std::make_shared<HttpRequestObject>();
    request->parent = connectionHandle;
    request->timeouts = connection->timeouts;
    request->verb = verb && *verb ? verb : "GET";
    request->path = objectPath ? objectPath : "";
    request->version = version && *version ? version : "HTTP/1.1";
    request->referrer = referrer ? referrer : "";
    for (LPCSTR* type = acceptTypes; type && *type; type++)
      request->acceptTypes.emplace_back(*type);
    request->flags = flags;
    return ProcessInternetHandles().add(std::move(request));
  });
}

BOOL HttpSendRequestA(HINTERNET requestHandle, LPCSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength) {
  return GuardedBool([&]() -> BOOL {
    auto request = FindRequest(requestHandle);
    if (!request)
      return Fail(ERROR_INVALID_HANDLE);
    auto connection = ProcessInternetHandles().findAs<InternetConnection>(request->parent,
                                                                          InternetObject::Kind::Connection);
    auto session = connection ? ProcessInternetHandles().findAs<InternetSession>(
                                    connection->parent, InternetObject::Kind::Session)
                              : nullptr;
    if (!session)
      return Fail(ERROR_INVALID_HANDLE);
    request->transfer.reset();
    request->transfer = std::make_unique<HttpTransfer>(
        TransferOf(*request, *connection, *session, headers, headersLength, optional, optionalLength));
    if (!request->transfer->awaitHead())
      return Fail(ErrorOf(request->transfer->error()));
    return TRUE;
  });
}

BOOL HttpQueryInfoA(HINTERNET requestHandle, DWORD info, LPVOID buffer, DWORD* length, DWORD* index) {
  return GuardedBool([&]() -> BOOL {
    auto request = FindRequest(requestHandle);
    if (!request)
      return Fail(ERROR_INVALID_HANDLE);
    if (!length)
      return Fail(ERROR_INVALID_PARAMETER);
    if (info & HTTP_QUERY_FLAG_REQUEST_HEADERS)
      return Fail(ERROR_HTTP_INVALID_QUERY_REQUEST);
    if (!request->transfer || !request->transfer->headArrived())
      return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    std::vector<std::string> values = QueryValues(request->transfer->head(), info & 0xFFFF, buffer);
    DWORD which = index ? *index : 0;
    if (which >= values.size())
      return Fail(ERROR_HTTP_HEADER_NOT_FOUND);
    BOOL copied = (info & HTTP_QUERY_FLAG_NUMBER) ? CopyNumber(values[which], buffer, length)
                                                  : CopyText(values[which], buffer, length);
    if (copied && index)
      (*index)++;
    return copied;
  });
}

BOOL InternetReadFile(HINTERNET requestHandle, LPVOID buffer, DWORD toRead, DWORD* read) {
  return GuardedBool([&]() -> BOOL {
    if (!read || (!buffer && toRead > 0))
      return Fail(ERROR_INVALID_PARAMETER);
    *read = 0;
    auto request = FindRequest(requestHandle);
    if (!request)
      return Fail(ERROR_INVALID_HANDLE);
    if (!request->transfer || !request->transfer->headArrived())
      return Fail(ERROR_INTERNET_INCORRECT_HANDLE_STATE);
    if (toRead == 0)
      return TRUE;
    *read = static_cast<DWORD>(request->transfer->read(static_cast<char*>(buffer), toRead));
    if (*read == 0 && request->transfer->error() != TransferError::None)
      return Fail(ErrorOf(request->transfer->error()));
    return TRUE;
  });
}
