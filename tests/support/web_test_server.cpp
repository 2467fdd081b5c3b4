#include "web_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace webtest {

struct WebTestServer::State {
  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  bool stopping = false;
  std::map<std::string, Handler> routes;
  Handler fallback;
  std::vector<RecordedRequest> requests;
  std::vector<int> connections;
  std::vector<std::thread> threads;
  int accepted = 0;

  bool stopped() const {
    std::lock_guard lock(mutex);
    return stopping;
  }
};

namespace {

constexpr int kPollSliceMs = 50;
constexpr size_t kLargestHead = 1 << 20;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string Trim(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos)
    return "";
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

const char* ReasonOf(int status) {
  switch (status) {
  case 200:
    return "OK";
  case 201:
    return "Created";
  case 204:
    return "No Content";
  case 301:
    return "Moved Permanently";
  case 302:
    return "Found";
  case 303:
    return "See Other";
  case 307:
    return "Temporary Redirect";
  case 308:
    return "Permanent Redirect";
  case 400:
    return "Bad Request";
  case 404:
    return "Not Found";
  case 500:
    return "Internal Server Error";
  default:
    return "Status";
  }
}

std::vector<std::string> SplitLines(std::string_view head) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < head.size()) {
    size_t end = head.find("\r\n", at);
    if (end == std::string_view::npos)
      end = head.size();
    lines.emplace_back(head.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

RecordedRequest ParseHead(std::string head) {
  RecordedRequest request;
  std::vector<std::string> lines = SplitLines(std::string_view(head).substr(0, head.size() - 4));
  request.head = std::move(head);
  if (lines.empty())
    return request;
  request.requestLine = lines[0];
  size_t first = lines[0].find(' ');
  size_t last = lines[0].rfind(' ');
  if (first != std::string::npos && last > first) {
    request.method = lines[0].substr(0, first);
    request.target = lines[0].substr(first + 1, last - first - 1);
    request.version = lines[0].substr(last + 1);
  }
  request.headerLines.assign(lines.begin() + 1, lines.end());
  return request;
}

// Waits for the socket to become readable, a slice at a time, until the
// server stops. False when stopping.
bool WaitReadable(int fd, const WebTestServer::State& state) {
  while (!state.stopped()) {
    pollfd p = {fd, POLLIN, 0};
    int ready = poll(&p, 1, kPollSliceMs);
    if (ready > 0)
      return true;
    if (ready < 0 && errno != EINTR)
      return false;
  }
  return false;
}

// Reads more bytes into `buffer`; false at the end of the stream or a stop.
bool ReadMore(int fd, const WebTestServer::State& state, std::string& buffer) {
  if (!WaitReadable(fd, state))
    return false;
  char chunk[16384];
  ssize_t n = recv(fd, chunk, sizeof chunk, 0);
  if (n <= 0)
    return false;
  buffer.append(chunk, static_cast<size_t>(n));
  return true;
}

bool ReadRequest(int fd, const WebTestServer::State& state, std::string& buffer, RecordedRequest* out) {
  size_t end;
  while ((end = buffer.find("\r\n\r\n")) == std::string::npos) {
    if (buffer.size() > kLargestHead || !ReadMore(fd, state, buffer))
      return false;
  }
  RecordedRequest request = ParseHead(buffer.substr(0, end + 4));
  buffer.erase(0, end + 4);
  size_t length = std::strtoul(request.header("Content-Length").c_str(), nullptr, 10);
  while (buffer.size() < length) {
    if (!ReadMore(fd, state, buffer))
      return false;
  }
  request.body = buffer.substr(0, length);
  buffer.erase(0, length);
  *out = std::move(request);
  return true;
}

bool KeepsAlive(const RecordedRequest& request) {
  return request.version == "HTTP/1.1" && !SameName(request.header("Connection"), "close");
}

std::string Head(int status, const std::vector<std::string>& lines) {
  std::string head = StatusLine(status) + "\r\n";
  for (const std::string& line : lines)
    head += line + "\r\n";
  return head;
}

} // namespace

std::string RecordedRequest::path() const {
  std::string_view t = target;
  size_t scheme = t.find("://");
  if (scheme != std::string_view::npos && t.find('/') > scheme) {
    size_t slash = t.find('/', scheme + 3);
    t = slash == std::string_view::npos ? std::string_view("/") : t.substr(slash);
  }
  return std::string(t.substr(0, t.find('?')));
}

std::string RecordedRequest::header(std::string_view name) const {
  for (const std::string& line : headerLines) {
    size_t colon = line.find(':');
    if (colon != std::string::npos && SameName(Trim(line.substr(0, colon)), name))
      return Trim(std::string_view(line).substr(colon + 1));
  }
  return "";
}

int RecordedRequest::headerCount(std::string_view name) const {
  int count = 0;
  for (const std::string& line : headerLines) {
    size_t colon = line.find(':');
    if (colon != std::string::npos && SameName(Trim(line.substr(0, colon)), name))
      count++;
  }
  return count;
}

std::vector<std::string> RecordedRequest::headerNames() const {
  std::vector<std::string> names;
  for (const std::string& line : headerLines)
    names.push_back(Trim(line.substr(0, line.find(':'))));
  return names;
}

bool ResponseWriter::send(std::string_view bytes) {
  while (!bytes.empty()) {
    if (state_.stopped())
      return false;
    ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool ResponseWriter::pause(std::chrono::milliseconds duration) {
  std::unique_lock lock(state_.mutex);
  return !state_.changed.wait_for(lock, duration, [this] { return state_.stopping; });
}

WebTestServer::WebTestServer() : state_(std::make_shared<State>()) {
  state_->fallback =
      Reply(404, "<html><body><h1>404 Not Found</h1></body></html>", {"Content-Type: text/html"});
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int yes = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(listener_, 64) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    close(listener_);
    listener_ = -1;
    return;
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { acceptLoop(); });
}

WebTestServer::~WebTestServer() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->changed.notify_all();
  if (acceptor_.joinable())
    acceptor_.join();
  if (listener_ >= 0)
    close(listener_);
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(state_->mutex);
    for (int fd : state_->connections)
      shutdown(fd, SHUT_RDWR);
    threads.swap(state_->threads);
  }
  for (std::thread& t : threads)
    t.join();
}

std::string WebTestServer::url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

void WebTestServer::on(std::string path, Handler handler) {
  std::lock_guard lock(state_->mutex);
  state_->routes[std::move(path)] = std::move(handler);
}

void WebTestServer::otherwise(Handler handler) {
  std::lock_guard lock(state_->mutex);
  state_->fallback = std::move(handler);
}

std::vector<RecordedRequest> WebTestServer::requests() const {
  std::lock_guard lock(state_->mutex);
  return state_->requests;
}

bool WebTestServer::waitForRequests(size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(state_->mutex);
  return state_->changed.wait_for(lock, limit, [&] { return state_->requests.size() >= count; });
}

int WebTestServer::connectionCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->accepted;
}

void WebTestServer::acceptLoop() {
  while (WaitReadable(listener_, *state_)) {
    int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
      continue;
    std::lock_guard lock(state_->mutex);
    state_->accepted++;
    state_->connections.push_back(fd);
    state_->threads.emplace_back([this, fd] { serve(fd); });
  }
}

void WebTestServer::serve(int fd) {
  std::string buffer;
  RecordedRequest request;
  while (ReadRequest(fd, *state_, buffer, &request)) {
    Handler handler;
    {
      std::lock_guard lock(state_->mutex);
      state_->requests.push_back(request);
      auto route = state_->routes.find(request.path());
      handler = route != state_->routes.end() ? route->second : state_->fallback;
    }
    state_->changed.notify_all();
    ResponseWriter writer(fd, *state_);
    handler(request, writer);
    if (writer.closing() || !KeepsAlive(request))
      break;
  }
  std::lock_guard lock(state_->mutex);
  std::erase(state_->connections, fd);
  close(fd);
}

std::string StatusLine(int status) { return "HTTP/1.1 " + std::to_string(status) + " " + ReasonOf(status); }

Handler Reply(int status, std::string body, std::vector<std::string> headerLines) {
  return [=](const RecordedRequest& request, ResponseWriter& out) {
    std::vector<std::string> lines = headerLines;
    lines.push_back("Content-Length: " + std::to_string(body.size()));
    out.send(Head(status, lines) + "\r\n");
    if (request.method != "HEAD")
      out.send(body);
  };
}

Handler ReplyWithoutLength(int status, std::string body, std::vector<std::string> headerLines) {
  return [=](const RecordedRequest&, ResponseWriter& out) {
    out.send(Head(status, headerLines) + "\r\n" + body);
    out.closeAfter();
  };
}

Handler ReplyCutShort(size_t announced, std::string sent) {
  return [=](const RecordedRequest&, ResponseWriter& out) {
    out.send(Head(200, {"Content-Length: " + std::to_string(announced)}) + "\r\n");
    out.send(sent);
    out.closeAfter();
  };
}

Handler ReplyAfter(std::chrono::milliseconds delay, Handler then) {
  return [=](const RecordedRequest& request, ResponseWriter& out) {
    if (out.pause(delay))
      then(request, out);
    else
      out.closeAfter();
  };
}

Handler Trickle(std::string body, size_t piece, std::chrono::milliseconds interval, bool announceLength) {
  return [=](const RecordedRequest&, ResponseWriter& out) {
    std::vector<std::string> lines;
    if (announceLength)
      lines.push_back("Content-Length: " + std::to_string(body.size()));
    else
      out.closeAfter();
    if (!out.send(Head(200, lines) + "\r\n"))
      return;
    for (size_t at = 0; at < body.size(); at += piece) {
      if (!out.pause(interval) || !out.send(std::string_view(body).substr(at, piece))) {
        out.closeAfter();
        return;
      }
    }
  };
}

Handler Redirect(int status, std::string location, std::string body, std::vector<std::string> headerLines) {
  headerLines.insert(headerLines.begin(), "Location: " + location);
  return Reply(status, std::move(body), std::move(headerLines));
}

int UnusedPort() {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

} // namespace webtest
