// Helpers for the lyric service tests: a throw-away library folder, a raw HTTP exchange over a
// loopback socket (for request lines no HTTP client would send), and the client's own way of
// reading a result page.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace service_test {

namespace fs = std::filesystem;

inline constexpr std::string_view kCaption = "下载LRC歌词";
inline constexpr std::string_view kLinkStart = "\"down-lrc-btn { 'href':'";
inline constexpr std::string_view kLinkEnd = "' }\" href=\"#\">";

// A folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "lyric-service-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr)
      path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty())
      fs::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& Path() const { return path_; }

  fs::path Write(const fs::path& relative, std::string_view bytes) const {
    fs::path file = path_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

  void Link(const fs::path& target, const fs::path& relative_link) const {
    fs::create_directories((path_ / relative_link).parent_path());
    fs::create_symlink(target, path_ / relative_link);
  }

private:
  fs::path path_;
};

struct RawResponse {
  int status = 0;
  std::map<std::string, std::string> headers; // names in lower case
  std::string body;
  std::string raw;
};

inline RawResponse ParseRawResponse(std::string raw) {
  RawResponse response;
  response.raw = raw;
  size_t head_end = raw.find("\r\n\r\n");
  if (raw.rfind("HTTP/1.", 0) != 0 || head_end == std::string::npos)
    return response;
  response.status = std::atoi(raw.c_str() + raw.find(' ') + 1);
  size_t line = raw.find("\r\n") + 2;
  while (line < head_end) {
    size_t next = raw.find("\r\n", line);
    std::string header = raw.substr(line, next - line);
    size_t colon = header.find(':');
    std::string name = header.substr(0, colon);
    for (char& c : name)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t value = header.find_first_not_of(' ', colon + 1);
    response.headers[name] = value == std::string::npos ? "" : header.substr(value);
    line = next + 2;
  }
  response.body = raw.substr(head_end + 4);
  return response;
}

// Sends `request` as it is and reads until the server closes; every wait ends within seconds.
inline RawResponse RawExchange(int port, std::string_view request) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0)
    return {};
  timeval timeout{5, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string raw;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
    char buffer[4096];
    ssize_t got;
    while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0)
      raw.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return ParseRawResponse(std::move(raw));
}

// An HTTP/1.0 GET without Host, the way the plainest client (or a proxy user) asks.
inline RawResponse RawGet(int port, std::string_view target) {
  return RawExchange(port, "GET " + std::string(target) + " HTTP/1.0\r\n\r\n");
}

inline size_t CountOf(std::string_view text, std::string_view part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
    count++;
  return count;
}

// Every link of a page, in page order, cut out the way the client cuts the first one.
inline std::vector<std::string> Links(std::string_view page) {
  std::vector<std::string> links;
  for (size_t at = page.find(kLinkStart); at != std::string_view::npos; at = page.find(kLinkStart, at + 1)) {
    size_t begin = at + kLinkStart.size();
    size_t end = page.find(kLinkEnd, begin);
    if (end == std::string_view::npos)
      break;
    links.emplace_back(page.substr(begin, end - begin));
  }
  return links;
}

// The link the client downloads: the first one in front of the first caption.
inline std::string ClientLink(std::string_view page) {
  std::vector<std::string> links = Links(page.substr(0, page.find(kCaption)));
  return links.empty() ? "" : links.front();
}

} // namespace service_test
