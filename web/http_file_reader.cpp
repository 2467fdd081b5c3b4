#include "web/http_file_reader.h"

#include "kernel32/last_error.h"
#include "runtime/find_text.h"
#include "runtime/internet_component.h"
#include "runtime/scratch_buffer.h"
#include "runtime/text_commands.h"
#include "wininet/http.h"
#include "wininet/internet.h"
#include "wininet/url.h"

#include <atomic>
#include <cstdlib>

namespace {

constexpr size_t kDefaultChunk = 0x2800;
constexpr size_t kLargestChunk = 0x19000;
constexpr DWORD kCanonicalBuffer = 2084;
constexpr DWORD kDoNotEscapeUnsafe = 0x20000000;
constexpr DWORD kAlwaysReload = 0x84000000;
const char kAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

std::atomic<ChunkObserver> chunk_observer{nullptr};

// The URL without its fragment.
TextValue WithoutFragment(TextRef text) {
  int32_t hash = FindText(text, "#");
  return hash == -1 ? TextValue::Copy(text) : LeftText(text, hash - 1);
}

// The canonical form, without escaping unsafe characters.
TextValue Canonical(TextRef url) {
  ScratchBuffer buffer(InternetScratchPool());
  DWORD length = kCanonicalBuffer;
  buffer.Resize(length);
  if (!InternetCanonicalizeUrlA(url.Bytes(), reinterpret_cast<char*>(buffer.Data()), &length, kDoNotEscapeUnsafe)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      return {};
    buffer.Resize(length);
    if (!InternetCanonicalizeUrlA(url.Bytes(), reinterpret_cast<char*>(buffer.Data()), &length, kDoNotEscapeUnsafe))
      return {};
  }
  return TextValue::Copy(reinterpret_cast<const char*>(buffer.Data()), length);
}

struct UrlParts {
  char scheme_name[32];
  char host[256];
  char path[2048];
  char user[128];
  char password[128];
  int scheme = 0;
  INTERNET_PORT port = 0;
};

bool Crack(TextRef url, UrlParts& parts) {
  URL_COMPONENTSA c{};
  c.dwStructSize = sizeof c;
  c.lpszHostName = parts.host;
  c.dwHostNameLength = sizeof parts.host;
  c.lpszUrlPath = parts.path;
  c.dwUrlPathLength = sizeof parts.path;
  c.lpszUserName = parts.user;
  c.dwUserNameLength = sizeof parts.user;
  c.lpszPassword = parts.password;
  c.dwPasswordLength = sizeof parts.password;
  if (!InternetCrackUrlA(url.Bytes(), 0, 0, &c))
    return false;
  parts.scheme = c.nScheme;
  parts.port = c.nPort;
  return true;
}

// Closes what one request opened, in reverse order.
struct OpenHandles {
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  ~OpenHandles() {
    if (request)
      InternetCloseHandle(request);
    if (connection)
      InternetCloseHandle(connection);
  }
};

HINTERNET RootHandle(InternetState& state) {
  if (!state.root) {
    bool direct = state.proxyServer.IsEmpty();
    state.root = InternetOpenA(kAgent, direct ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY,
                               direct ? nullptr : state.proxyServer.Bytes(), nullptr, 0);
  }
  return static_cast<HINTERNET>(state.root);
}

// With empty proxy texts this puts the root handle on the system's own proxy
// settings before every request.
void SetProxyOptions(const InternetState& state, HINTERNET root, HINTERNET connection) {
  INTERNET_PROXY_INFO proxy{};
  proxy.dwAccessType = state.proxyServer.IsEmpty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY;
  proxy.lpszProxy = state.proxyServer.IsEmpty() ? nullptr : state.proxyServer.Bytes();
  InternetSetOptionA(root, INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
  InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, const_cast<char*>(state.proxyUser.Bytes()),
                     static_cast<DWORD>(state.proxyUser.Length() + 1));
  InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, const_cast<char*>(state.proxyPassword.Bytes()),
                     static_cast<DWORD>(state.proxyPassword.Length() + 1));
}

size_t QueryChunkSize(HINTERNET request) {
  char length[32] = {};
  DWORD size = sizeof length;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, length, &size, nullptr))
    return kDefaultChunk;
  return ReadChunkSize(length);
}

void ReadBody(HINTERNET request, size_t chunk, ScratchBuffer& accumulated) {
  ScratchBuffer buffer(InternetScratchPool());
  buffer.Resize(chunk);
  for (;;) {
    if (ChunkObserver watch = chunk_observer.load())
      watch(chunk);
    DWORD read = 0;
    if (!InternetReadFile(request, buffer.Data(), static_cast<DWORD>(chunk), &read) || read == 0)
      return;
    accumulated.Append(buffer.Data(), read);
  }
}

} // namespace

size_t ReadChunkSize(const char* contentLength) {
  char* end = nullptr;
  long long value = std::strtoll(contentLength ? contentLength : "", &end, 10);
  if (!contentLength || end == contentLength || value <= 0)
    return kDefaultChunk;
  return value + 1 < static_cast<long long>(kLargestChunk) ? static_cast<size_t>(value + 1) : kLargestChunk;
}

void SetChunkObserverForTesting(ChunkObserver observer) { chunk_observer.store(observer); }

ByteSet HttpFileReader(TextRef url) {
  ScratchBuffer accumulated(InternetScratchPool());
  if (url.IsEmpty())
    return {};
  TextValue canonical = Canonical(WithoutFragment(url));
  UrlParts parts;
  if (canonical.IsEmpty() || !Crack(canonical, parts))
    return {};
  DWORD flags = kAlwaysReload;
  DWORD service = static_cast<DWORD>(parts.scheme);
  if (parts.scheme == INTERNET_SCHEME_HTTPS) {
    service = INTERNET_SERVICE_HTTP;
    flags |= INTERNET_FLAG_SECURE;
  }

  InternetState& state = TheInternetState();
  HINTERNET root = RootHandle(state);
  if (!root)
    return {};
  OpenHandles handles;
  handles.connection = InternetConnectA(root, parts.host, parts.port, parts.user, parts.password, service, 0, 0);
  if (!handles.connection)
    return {};
  SetProxyOptions(state, root, handles.connection);
  TextValue path = WithoutFragment(parts.path);
  LPCSTR accept[] = {"Accept: */* \r\n", nullptr};
  handles.request = HttpOpenRequestA(handles.connection, "GET", path.Bytes(), "HTTP/1.0", nullptr, accept, flags, 0);
  if (!handles.request)
    return {};
  static char headers[] = "Accept: */*\r\n\r\n";
  if (!HttpSendRequestA(handles.request, headers, 15, nullptr, 0))
    return {};
  ReadBody(handles.request, QueryChunkSize(handles.request), accumulated);
  return ByteSet::Copy(accumulated.Data(), accumulated.Size());
}
