// One HTTP exchange on libcurl, driven by its caller: the transfer core of
// the request object (winhttp) and of the Internet client (wininet).
//
// The caller describes the request, then pulls: awaitHead() drives the
// exchange until the final response's status line and headers are in, and
// read() hands over the body as it arrives. The network is only read
// while the caller waits in a call and nothing is left over, so at most one
// round of libcurl's reads (a few of its 16 KiB buffers) waits in memory;
// the body is never loaded whole. Redirects are
// followed here, one exchange per hop, so that each hop's request target
// and method are under control; only the final response's head and body
// reach the caller.
//
// Time-outs: libcurl's connect time-out covers name resolution and the
// connection; once connected, the send time-out limits the silence while
// the body goes out and the receive time-out the silence while waiting for
// and reading the response. Both measure inactivity, not the whole
// exchange, so a slow trickle lives while a stalled server is given up.
//
// Invariant: after the exchange ended (error() or the end of the body),
// nothing more is sent or received; an error keeps the head and the body
// bytes that arrived before it.
#pragma once

#include "winhttp/transfer/curl_handles.h"
#include "winhttp/transfer/proxy_choice.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class TransferError {
  None,
  InvalidUrl,
  UnsupportedScheme,
  NameNotResolved,
  CannotConnect,
  Timeout,
  ConnectionBroken,
  InvalidResponse,
  TooManyRedirects,
  SecureFailure,
  OutOfMemory,
  Internal,
};

// 0 means no limit.
struct TransferTimeouts {
  long connectMs = 60000;
  long sendMs = 30000;
  long receiveMs = 30000;
};

struct TransferRequest {
  std::string method = "GET";
  // Absolute http or https URL, exactly as it goes out (already escaped).
  std::string url;
  // When not empty: the request target of the first hop, sent byte for byte
  // (an origin-form path; made absolute-form for an HTTP proxy).
  std::string rawTarget;
  // "Name: value" lines in the order they go out after Host.
  std::vector<std::string> headers;
  // Present: sent with a Content-Length, even when empty.
  std::optional<std::string> body;
  bool http10 = false;
  ProxyChoice proxy;
  std::string user, password;
  std::string proxyUser, proxyPassword;
  TransferTimeouts timeouts;
  bool followRedirects = true;
  int maxRedirects = 10;
  bool httpsToHttpRedirects = false;
};

struct ResponseHead {
  std::string statusLine; // without its line end
  int status = 0;
  std::string reason;
  // Header lines without their line ends, status line excluded, as received.
  std::vector<std::string> lines;
  // The URL this response answered (the last hop's).
  std::string url;
};

// None when `url` is an absolute http or https URL with a host.
TransferError CheckTransferUrl(const std::string& url);

class HttpTransfer {
public:
  explicit HttpTransfer(TransferRequest request);
  ~HttpTransfer();
  HttpTransfer(const HttpTransfer&) = delete;
  HttpTransfer& operator=(const HttpTransfer&) = delete;

  // True once the final head arrived; false when the exchange failed first.
  bool awaitHead();
  // Up to `size` body bytes, waiting until at least one arrived or the
  // exchange ended; 0 at the end of the body or after a failure (error()).
  size_t read(char* out, size_t size);
  // Reads the rest of the body into `body`.
  TransferError readAll(std::string* body);

  bool headArrived() const { return headComplete_; }
  const ResponseHead& head() const { return head_; }
  TransferError error() const { return error_; }

private:
  using Clock = std::chrono::steady_clock;

  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static size_t OnBody(char* data, size_t size, size_t count, void* self);
  static int OnProgress(void* self, curl_off_t, curl_off_t, curl_off_t upTotal, curl_off_t upNow);
  static int OnConnected(void* self, char*, char*, int, int);

  bool start();
  bool configureOnce();
  bool configureHop(const std::string& url, const std::string& rawTarget);
  void configureMethod();
  bool headerLine(std::string_view line);
  bool headEnded();
  std::optional<std::string> redirectTarget() const;
  void hopDone(CURLcode result);
  void fail(TransferError error);
  void drive(const std::function<bool()>& enough);
  bool stalled() const;
  long waitMs() const;
  size_t pendingSize() const { return pending_.size() - pendingAt_; }

  TransferRequest request_;
  CurlMulti multi_;
  CurlEasy easy_;
  CurlList headerList_;
  bool started_ = false;
  bool attached_ = false;
  bool finished_ = false;
  TransferError error_ = TransferError::None;

  // The hop in progress.
  std::string hopUrl_;
  std::string hopTarget_;
  std::string hopMethod_;
  bool hopHasBody_ = false;
  int redirects_ = 0;
  bool connected_ = false;
  bool bodySent_ = true;
  Clock::time_point lastActivity_;
  ResponseHead building_;
  std::optional<std::string> followTo_;
  bool tooManyRedirects_ = false;

  bool headComplete_ = false;
  ResponseHead head_;
  std::string pending_;
  size_t pendingAt_ = 0;
};
