// A small HTTP server on 127.0.0.1 for tests of the web access.
//
// It starts on a free port, reads each request off the wire and records it
// raw (request line and header lines in the order received, then the
// body), and answers through a handler chosen by the request's path. The
// handlers below cover the faults a client must survive: a body closed by
// the server instead of a length, a connection dropped in mid-body, a stall
// and a slow trickle. Requests in absolute form (as sent to a proxy) are
// routed by their path too, so a test can send a request for any host
// through it with http_proxy=http://127.0.0.1:PORT.
//
// Invariant: destroying the server stops it at once: every pause in a
// handler ends, every connection is closed and every thread joined, so a
// test never hangs on a server it no longer needs.
#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread> // the chrono types; <chrono> itself does not compile for code page 936 literals
#include <thread>
#include <vector>

namespace webtest {

struct RecordedRequest {
  // The request line, the header lines and the blank line, as received.
  std::string head;
  std::string requestLine; // without CR LF
  std::string method;
  std::string target; // as in the request line: origin or absolute form
  std::string version;
  std::vector<std::string> headerLines; // in order, without CR LF
  std::string body;                     // read by Content-Length

  // The target's path without the query; for an absolute-form target the
  // part after the authority.
  std::string path() const;
  // The trimmed value of the first header of that name (case ignored), or "".
  std::string header(std::string_view name) const;
  int headerCount(std::string_view name) const;
  // The names of the header lines in order.
  std::vector<std::string> headerNames() const;
};

class ResponseWriter;
using Handler = std::function<void(const RecordedRequest&, ResponseWriter&)>;

class WebTestServer {
public:
  WebTestServer();
  ~WebTestServer();
  WebTestServer(const WebTestServer&) = delete;
  WebTestServer& operator=(const WebTestServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by `path`.
  std::string url(std::string_view path = "") const;

  // Answers requests for exactly this path (query ignored) with `handler`.
  void on(std::string path, Handler handler);
  // Answers every other path; the default is a 404 with a short HTML body.
  void otherwise(Handler handler);

  std::vector<RecordedRequest> requests() const;
  // Waits until at least `count` requests were recorded.
  bool waitForRequests(size_t count, std::chrono::milliseconds limit) const;
  // Connections accepted so far.
  int connectionCount() const;

  // Internal to the server and its writers.
  struct State;

private:
  void acceptLoop();
  void serve(int fd);

  std::shared_ptr<State> state_;
  int listener_ = -1;
  int port_ = 0;
  std::thread acceptor_;
};

// What a handler writes the response with.
class ResponseWriter {
public:
  ResponseWriter(int fd, WebTestServer::State& state) : fd_(fd), state_(state) {}
  // False once the client has gone or the server stops.
  bool send(std::string_view bytes);
  // Waits; false (at once) when the server stops meanwhile.
  bool pause(std::chrono::milliseconds duration);
  // Ends the connection after this response instead of keeping it open.
  void closeAfter() { close_ = true; }
  bool closing() const { return close_; }

private:
  int fd_;
  WebTestServer::State& state_;
  bool close_ = false;
};

// "HTTP/1.1 <status> <reason>"
std::string StatusLine(int status);

// A complete response: status line, the given header lines, Content-Length,
// then the body (none for HEAD).
Handler Reply(int status, std::string body, std::vector<std::string> headerLines = {});
// No Content-Length: the body ends when the server closes the connection.
Handler ReplyWithoutLength(int status, std::string body, std::vector<std::string> headerLines = {});
// Announces `announced` bytes, sends `sent`, then drops the connection.
Handler ReplyCutShort(size_t announced, std::string sent);
// Waits `delay` before handing over to `then` (a stall when the delay is
// longer than the client's time-out).
Handler ReplyAfter(std::chrono::milliseconds delay, Handler then);
// Sends the head at once, then the body in pieces of `piece` bytes with
// `interval` between them; with or without a Content-Length.
Handler Trickle(std::string body, size_t piece, std::chrono::milliseconds interval,
                bool announceLength = true);
// A redirect to `location`, with an optional body and extra header lines.
Handler Redirect(int status, std::string location, std::string body = "",
                 std::vector<std::string> headerLines = {});

// A port on 127.0.0.1 that nothing listens on: bound to find it, then closed.
int UnusedPort();

} // namespace webtest
