// Inside winhttp: the request object behind "WinHttp.WinHttpRequest.5.1".
//
// Reached through IDispatch; member names match without regard to ASCII
// letter case ("GetallResponseHeaders" reaches GetAllResponseHeaders):
//   Open(method, url[, async])            prepares a request; drops the last
//                                         one's headers and response
//   SetRequestHeader(name, value)         a header, in the order set; the
//                                         same name again replaces the value
//   Send([body])                          carries the request out: nothing,
//                                         a string (sent as UTF-8) or an
//                                         array of bytes (also by reference)
//   SetTimeouts(resolve, connect, send, receive)   milliseconds, 0 or -1 no
//                                         limit; the resolve time counts
//                                         within the connect time-out
//   SetProxy(setting[, server[, bypass]])   0 system settings, 1 direct,
//                                         2 the named server
//   SetCredentials(user, password, flags)   flags 0 server, 1 proxy
//   SetProxyCredentials(user, password, flags)   the proxy's (flags 0 or 1)
//   Option(index) read / write            0 user agent, 1 URL (read only),
//                                         6 follow redirects, 12 follow from
//                                         https to http, 14 most redirects
//   Status, StatusText, ResponseText, ResponseBody, GetAllResponseHeaders,
//   GetResponseHeader(name), WaitForResponse([timeout])
// Members without arguments may be read as properties or called as methods.
//
// Defaults: no resolve limit, connect 60 s, send and receive 30 s (each an
// inactivity limit); redirects followed (at most 10, never from https to
// http); the system's proxy settings. On the wire: the request line with the
// method as given and the URL in UTF-8, its blanks, control and non-ASCII
// bytes percent-encoded and everything else as given; Host, then the
// headers set, in order; Content-Length when there is a body (a POST always
// has one). Nothing else: no User-Agent or Accept unless set.
//
// Invariant: a response exists only after a Send that succeeded; a failed
// Send leaves none, so ResponseBody then gives VT_EMPTY. The object belongs
// to one thread at a time and never throws out of a call.
#pragma once

#include "oleaut32/dispatch.h"
#include "winhttp/transfer/http_transfer.h"

#include <atomic>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class DispatchArguments;

class WinHttpRequest final : public IDispatch {
public:
  WinHttpRequest() = default;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
  HRESULT Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argumentError) override;

private:
  struct Opened {
    std::string method;
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
  };
  struct Response {
    int status = 0;
    std::string reason;
    std::vector<std::string> lines;
    std::string body;
    std::string url;
  };

  HRESULT invokeMember(DISPID member, WORD flags, DispatchArguments& args, VARIANT* result);
  HRESULT invokeOption(WORD flags, DispatchArguments& args, VARIANT* result);

  HRESULT open(DispatchArguments& args);
  HRESULT setRequestHeader(DispatchArguments& args);
  HRESULT send(DispatchArguments& args);
  HRESULT setTimeouts(DispatchArguments& args);
  HRESULT setProxy(DispatchArguments& args);
  HRESULT setCredentials(DispatchArguments& args, bool proxyOnly);
  HRESULT getOption(LONG index, VARIANT* result);
  HRESULT putOption(LONG index, DispatchArguments& args);
  HRESULT getStatus(VARIANT* result);
  HRESULT getStatusText(VARIANT* result);
  HRESULT getResponseText(VARIANT* result);
  HRESULT getResponseBody(VARIANT* result);
  HRESULT getAllResponseHeaders(VARIANT* result);
  HRESULT getResponseHeader(DispatchArguments& args, VARIANT* result);

  TransferRequest transferRequest(std::optional<std::string> body) const;
  void keepResponse(const HttpTransfer& transfer, std::string body);

  std::atomic<ULONG> references_{1};
  TransferTimeouts timeouts_;
  ProxyChoice proxy_;
  std::string user_, password_, proxyUser_, proxyPassword_;
  std::u16string userAgent_;
  bool followRedirects_ = true;
  bool httpsToHttpRedirects_ = false;
  LONG maxRedirects_ = 10;
  std::optional<Opened> opened_;
  std::optional<Response> response_;
};
