#include "service/lyric_server.h"

#include "service/lyric_responder.h"
#include "service/result_page.h"

#include <httplib.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace lyric_service {

struct LyricServer::State {
  State(LyricLibrary lyrics, RequestLog request_log)
      : library(std::move(lyrics)), log(std::move(request_log)) {}

  LyricLibrary library;
  RequestLog log;
  httplib::Server server;
  std::atomic<bool> stop_requested{false};
  std::atomic<bool> serving{false};
  std::atomic<int> answer_delay_ms{0};
};

namespace {

using HandlerResponse = httplib::Server::HandlerResponse;

// httplib's own default adds SO_REUSEPORT, which would let a second service share a port that is
// already taken instead of failing to start.
void ListenSocketOptions(socket_t sock) {
  int yes = 1;
  setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

// A fixed-length content provider is never compressed by httplib, whatever the request accepts:
// the client gets the stored bytes and a Content-Length that counts them. httplib leaves an empty body
// without any length, so a client would wait for the connection to close; an empty file is said to be empty.
void SendBody(httplib::Response& res, std::string content_type, std::string body) {
  if (body.empty()) {
    res.set_header("Content-Length", "0");
    res.set_content(std::string(), content_type.c_str());
    return;
  }
  auto shared = std::make_shared<std::string>(std::move(body));
  res.set_content_provider(shared->size(), content_type.c_str(),
                           [shared](size_t offset, size_t length, httplib::DataSink& sink) {
                             return sink.write(shared->data() + offset, length);
                           });
}

void SendReply(httplib::Response& res, Reply reply) {
  res.status = reply.status;
  SendBody(res, std::move(reply.content_type), std::move(reply.body));
}

const char* Reason(int status) {
  switch (status) {
  case 400:
    return "Bad Request";
  case 404:
    return "Not Found";
  case 405:
    return "Method Not Allowed";
  case 414:
    return "URI Too Long";
  default:
    return status < 500 ? "Client Error" : "Server Error";
  }
}

// Request lines cannot hold CR or LF, but other control bytes would garble the log.
std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// GET and HEAD are answered from the raw request target before httplib's routing, which would
// take an absolute-form target for a path and read '+' in the query as a blank.
void AnswerGets(httplib::Server& server, const LyricLibrary& library, const std::atomic<int>& delay_ms) {
  server.set_pre_routing_handler([&library, &delay_ms](const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET" && req.method != "HEAD")
      return HandlerResponse::Unhandled;
    if (int delay = delay_ms.load(); delay > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    SendReply(res, Answer(library, req.target));
    return HandlerResponse::Handled;
  });
}

// Routed through httplib so that it reads the request body before answering.
void RefuseOtherMethods(httplib::Server& server) {
  auto not_allowed = [](const httplib::Request&, httplib::Response& res) {
    res.status = 405;
    res.set_header("Allow", "GET, HEAD");
  };
  server.Post(".*", not_allowed).Put(".*", not_allowed).Patch(".*", not_allowed);
  server.Delete(".*", not_allowed).Options(".*", not_allowed);
}

// Errors without a body of their own (a malformed request line, a refused method) get a page.
void AddErrorPages(httplib::Server& server) {
  server.set_error_handler(
      httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (res.has_header("Content-Type"))
          return HandlerResponse::Unhandled;
        SendBody(res, std::string(kHtmlType), ErrorPage(res.status, Reason(res.status)));
        return HandlerResponse::Handled;
      }));
}

void LogRequests(httplib::Server& server, const RequestLog& log) {
  server.set_logger([&log](const httplib::Request& req, const httplib::Response& res) {
    log(Printable(req.method) + " " + Printable(req.target) + " " + std::to_string(res.status));
  });
}

} // namespace

LyricServer::LyricServer(LyricLibrary library, RequestLog log)
    : state_(std::make_unique<State>(std::move(library), std::move(log))) {
  httplib::Server& server = state_->server;
  server.set_socket_options(ListenSocketOptions);
  AnswerGets(server, state_->library, state_->answer_delay_ms);
  RefuseOtherMethods(server);
  AddErrorPages(server);
  if (state_->log)
    LogRequests(server, state_->log);
}

LyricServer::~LyricServer() = default;

BindResult LyricServer::Bind(const std::string& address, int port) {
  errno = 0;
  httplib::Server& server = state_->server;
  int bound = port == 0 ? server.bind_to_any_port(address) : (server.bind_to_port(address, port) ? port : -1);
  if (bound > 0)
    return {bound, ""};
  std::string error = "cannot listen on " + address + ":" + std::to_string(port);
  if (errno != 0)
    error += std::string(": ") + std::strerror(errno);
  return {0, error};
}

// The accept loop runs even after an early Stop(), only to be stopped at once: httplib closes its
// listening socket only when stop() meets a running loop, and a socket left open would take
// connections nobody answers.
bool LyricServer::Serve() {
  state_->serving = true;
  std::thread stopper;
  if (state_->stop_requested)
    stopper = std::thread([this] { StopRunningLoop(); });
  bool ok = state_->server.listen_after_bind();
  if (stopper.joinable())
    stopper.join();
  state_->serving = false;
  return ok || state_->stop_requested;
}

void LyricServer::Stop() {
  state_->stop_requested = true;
  if (state_->serving)
    StopRunningLoop();
}

// httplib ignores stop() until its accept loop runs.
void LyricServer::StopRunningLoop() {
  while (state_->serving && !state_->server.is_running())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  state_->server.stop();
}

void LyricServer::SetAnswerDelay(int milliseconds) { state_->answer_delay_ms = milliseconds; }

const LyricLibrary& LyricServer::Library() const { return state_->library; }

} // namespace lyric_service
