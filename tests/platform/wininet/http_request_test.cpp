#include "environment_variable.h"
#include "web_test_server.h"

#include "kernel32/last_error.h"
#include "wininet/http.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace {

using ::testing::ElementsAre;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kReaderFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

// Opens handles the way the HTTP file reader does, against a loopback
// server, in an environment without proxy settings; closes them after.
class InternetClient : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY",
                             "HTTPS_PROXY", "ALL_PROXY", "NO_PROXY"})
      cleared_.push_back(std::make_unique<EnvironmentVariable>(name, nullptr));
    root_ = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(root_, nullptr);
  }
  void TearDown() override {
    if (root_)
      InternetCloseHandle(root_);
  }

  HINTERNET Connect(const char* host, INTERNET_PORT port) {
    HINTERNET connection = InternetConnectA(root_, host, port, "", "", INTERNET_SERVICE_HTTP, 0, 0);
    EXPECT_NE(connection, nullptr);
    return connection;
  }
  HINTERNET Connect() { return Connect("127.0.0.1", static_cast<INTERNET_PORT>(server_.port())); }

  // The reader's option calls: system proxy settings on the root, empty
  // proxy credentials on the connection.
  void SetReaderOptions(HINTERNET connection) {
    INTERNET_PROXY_INFO info = {INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
    EXPECT_TRUE(InternetSetOptionA(root_, INTERNET_OPTION_PROXY, &info, sizeof info));
    char empty[] = "";
    EXPECT_TRUE(InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, empty, 1));
    EXPECT_TRUE(InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, empty, 1));
  }

  HINTERNET OpenGet(HINTERNET connection, const char* path, DWORD flags = kReaderFlags) {
    LPCSTR accept[] = {"Accept: */* \r\n", nullptr};
    HINTERNET request = HttpOpenRequestA(connection, "GET", path, "HTTP/1.0", nullptr, accept, flags, 0);
    EXPECT_NE(request, nullptr);
    return request;
  }

  BOOL Send(HINTERNET request) { return HttpSendRequestA(request, "Accept: */*\r\n\r\n", 15, nullptr, 0); }

  // Reads to the end or the first failure with `chunk`-byte reads.
  std::string ReadAll(HINTERNET request, DWORD chunk, BOOL* last = nullptr,
                      std::vector<DWORD>* sizes = nullptr) {
    std::string body;
    std::string buffer(chunk, 0);
    for (;;) {
      DWORD read = 0;
      BOOL ok = InternetReadFile(request, buffer.data(), chunk, &read);
      if (sizes)
        sizes->push_back(read);
      body.append(buffer.data(), read);
      if (!ok || read == 0) {
        if (last)
          *last = ok;
        return body;
      }
    }
  }

  std::vector<std::unique_ptr<EnvironmentVariable>> cleared_;
  webtest::WebTestServer server_;
  HINTERNET root_ = nullptr;
};

TEST_F(InternetClient, SendsAPlainHttp10GetWithThePathBytesAsGiven) {
  server_.otherwise(webtest::Reply(200, "[ti:song]"));
  HINTERNET connection = Connect();
  SetReaderOptions(connection);
  HINTERNET request = OpenGet(connection, "/lrc/\xb8\xe8 \xc7\xfa.lrc?id=1");
  ASSERT_TRUE(Send(request));
  EXPECT_EQ(ReadAll(request, 10240), "[ti:song]");

  ASSERT_EQ(server_.requests().size(), 1u);
  webtest::RecordedRequest seen = server_.requests()[0];
  EXPECT_EQ(seen.requestLine, "GET /lrc/\xb8\xe8%20\xc7\xfa.lrc?id=1 HTTP/1.0");
  EXPECT_THAT(seen.headerNames(), ElementsAre("Host", "User-Agent", "Accept", "Pragma", "Cache-Control"));
  EXPECT_EQ(seen.header("User-Agent"), kAgent);
  EXPECT_EQ(seen.header("Accept"), "*/*");
  EXPECT_EQ(seen.headerCount("Accept"), 1);
  EXPECT_EQ(seen.header("Pragma"), "no-cache");
  EXPECT_EQ(seen.header("Cache-Control"), "no-cache");
}

TEST_F(InternetClient, HeaderTextIsSplitIntoLinesAndMerged) {
  HINTERNET request = OpenGet(Connect(), "/h");
  const char headers[] = "X-One: 1\n\r\n  X-Two :  2  \r\nnot a header\r\nx-one: again\r\n";
  ASSERT_TRUE(HttpSendRequestA(request, headers, 0xFFFFFFFF, nullptr, 0));
  webtest::RecordedRequest seen = server_.requests().at(0);
  EXPECT_THAT(seen.headerNames(),
              ElementsAre("Host", "User-Agent", "Accept", "Pragma", "Cache-Control", "X-One", "X-Two"));
  EXPECT_EQ(seen.header("X-One"), "again");
  EXPECT_EQ(seen.header("X-Two"), "2");
}

TEST_F(InternetClient, ContentLengthQuery) {
  server_.on("/3000", webtest::Reply(200, std::string(3000, 'a')));
  server_.on("/0", webtest::Reply(200, ""));
  server_.on("/none", webtest::ReplyWithoutLength(200, "closed"));
  const struct {
    const char* path;
    BOOL found;
    const char* text;
  } cases[] = {{"/3000", TRUE, "3000"}, {"/0", TRUE, "0"}, {"/none", FALSE, ""}};
  HINTERNET connection = Connect();
  for (const auto& c : cases) {
    HINTERNET request = OpenGet(connection, c.path);
    ASSERT_TRUE(Send(request));
    char buffer[32] = {};
    DWORD length = sizeof buffer;
    SetLastError(0);
    EXPECT_EQ(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, buffer, &length, nullptr), c.found)
        << c.path;
    if (c.found) {
      EXPECT_STREQ(buffer, c.text);
      EXPECT_EQ(length, std::strlen(c.text));
    } else {
      EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
    }
    InternetCloseHandle(request);
  }
}

TEST_F(InternetClient, QueriesReportTheSizeTheyNeedAndNumbers) {
  server_.otherwise(webtest::Reply(404, "<html>missing</html>", {"Set-Cookie: a=1", "Set-Cookie: b=2"}));
  HINTERNET request = OpenGet(Connect(), "/x");
  ASSERT_TRUE(Send(request)) << "a 404 is a response";
  char small[2];
  DWORD length = sizeof small;
  EXPECT_FALSE(HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, small, &length, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(length, 3u);

  DWORD status = 0;
  length = sizeof status;
  ASSERT_TRUE(
      HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr));
  EXPECT_EQ(status, 404u);

  char cookie[32];
  DWORD index = 0;
  std::vector<std::string> cookies;
  for (;;) {
    length = sizeof cookie;
    if (!HttpQueryInfoA(request, HTTP_QUERY_SET_COOKIE, cookie, &length, &index))
      break;
    cookies.emplace_back(cookie);
  }
  EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
  EXPECT_THAT(cookies, ElementsAre("a=1", "b=2"));
  EXPECT_EQ(ReadAll(request, 10240), "<html>missing</html>");
}

TEST_F(InternetClient, AKnownLengthBodyArrivesInOneReadThenTheEnd) {
  const std::string body(3000, 'l');
  server_.otherwise(webtest::Reply(200, body));
  HINTERNET request = OpenGet(Connect(), "/a.lrc");
  ASSERT_TRUE(Send(request));
  std::vector<DWORD> sizes;
  BOOL last = FALSE;
  EXPECT_EQ(ReadAll(request, 3001, &last, &sizes), body);
  EXPECT_TRUE(last);
  EXPECT_THAT(sizes, ElementsAre(3000u, 0u));
}

TEST_F(InternetClient, ReadsHandOverABodyAsItArrives) {
  server_.otherwise(webtest::Trickle(std::string(4000, 's'), 1000, 300ms, false));
  HINTERNET request = OpenGet(Connect(), "/slow.lrc");
  ASSERT_TRUE(Send(request));
  char buffer[10240];
  DWORD read = 0;
  Clock::time_point start = Clock::now();
  ASSERT_TRUE(InternetReadFile(request, buffer, sizeof buffer, &read));
  EXPECT_EQ(read, 1000u) << "the first piece alone, not the whole body";
  EXPECT_LT(Clock::now() - start, 900ms);
  BOOL last = FALSE;
  EXPECT_EQ(ReadAll(request, sizeof buffer, &last).size(), 3000u);
  EXPECT_TRUE(last) << "a body ended by the server closing is complete";
}

TEST_F(InternetClient, ADroppedConnectionGivesWhatArrivedThenFails) {
  server_.otherwise(webtest::ReplyCutShort(80000, std::string(50000, 'd')));
  HINTERNET request = OpenGet(Connect(), "/cut.lrc");
  ASSERT_TRUE(Send(request));
  BOOL last = TRUE;
  EXPECT_EQ(ReadAll(request, 10240, &last).size(), 50000u);
  EXPECT_FALSE(last);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CONNECTION_ABORTED);
  DWORD read = 1;
  char buffer[16];
  EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &read));
  EXPECT_EQ(read, 0u);
}

TEST_F(InternetClient, NothingListeningFailsTheSendAtOnce) {
  HINTERNET request =
      OpenGet(Connect("127.0.0.1", static_cast<INTERNET_PORT>(webtest::UnusedPort())), "/a.lrc");
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(Send(request));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_CANNOT_CONNECT);
  EXPECT_LT(Clock::now() - start, 1s);
  DWORD read = 0;
  char buffer[16];
  EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &read));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
}

TEST_F(InternetClient, TheReceiveTimeoutEndsAStalledServer) {
  server_.otherwise(webtest::ReplyAfter(10s, webtest::Reply(200, "late")));
  DWORD timeout = 500;
  ASSERT_TRUE(InternetSetOptionA(root_, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout));
  HINTERNET request = OpenGet(Connect(), "/stall");
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(Send(request));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_TIMEOUT);
  EXPECT_GE(Clock::now() - start, 450ms);
  EXPECT_LT(Clock::now() - start, 2s);
}

TEST_F(InternetClient, RedirectsAreFollowedUnlessTurnedOff) {
  server_.on("/old.lrc", webtest::Redirect(302, "/new.lrc", "moved"));
  server_.on("/new.lrc", webtest::Reply(200, "new lyrics"));
  HINTERNET connection = Connect();
  HINTERNET followed = OpenGet(connection, "/old.lrc");
  ASSERT_TRUE(Send(followed));
  EXPECT_EQ(ReadAll(followed, 10240), "new lyrics");
  HINTERNET kept = OpenGet(connection, "/old.lrc", kReaderFlags | INTERNET_FLAG_NO_AUTO_REDIRECT);
  ASSERT_TRUE(Send(kept));
  EXPECT_EQ(ReadAll(kept, 10240), "moved");
  std::vector<webtest::RecordedRequest> seen = server_.requests();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[1].requestLine, "GET /new.lrc HTTP/1.0");
  EXPECT_EQ(seen[1].header("User-Agent"), kAgent);
}

TEST_F(InternetClient, ThePreconfiguredProxyCarriesRequestsForAnyHost) {
  server_.otherwise(webtest::Reply(200, "proxied"));
  EnvironmentVariable proxy("http_proxy", server_.url().c_str());
  // The root was opened for direct access; the proxy option puts it on the
  // system's settings.
  HINTERNET connection = Connect("lrc.example", 80);
  SetReaderOptions(connection);
  HINTERNET request = OpenGet(connection, "/dir/\xb8\xe8.lrc");
  ASSERT_TRUE(Send(request));
  EXPECT_EQ(ReadAll(request, 10240), "proxied");
  webtest::RecordedRequest seen = server_.requests().at(0);
  EXPECT_EQ(seen.requestLine, "GET http://lrc.example/dir/\xb8\xe8.lrc HTTP/1.0");
  EXPECT_EQ(seen.header("Host"), "lrc.example");
}

TEST_F(InternetClient, DirectAccessIgnoresTheEnvironmentAndANamedProxyIsUsed) {
  server_.otherwise(webtest::Reply(200, "ok"));
  std::string dead = "http://127.0.0.1:" + std::to_string(webtest::UnusedPort());
  EnvironmentVariable proxy("http_proxy", dead.c_str());
  HINTERNET direct = OpenGet(Connect(), "/direct");
  EXPECT_TRUE(Send(direct));

  std::string named = "127.0.0.1:" + std::to_string(server_.port());
  HINTERNET viaProxy = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PROXY, named.c_str(), nullptr, 0);
  HINTERNET connection = InternetConnectA(viaProxy, "music.example", 0, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  char user[] = "proxyuser";
  ASSERT_TRUE(InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, user, sizeof user));
  char password[] = "pw";
  ASSERT_TRUE(InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, password, sizeof password));
  HINTERNET request = OpenGet(connection, "/p.lrc");
  EXPECT_TRUE(Send(request));
  InternetCloseHandle(viaProxy);

  std::vector<webtest::RecordedRequest> seen = server_.requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].target, "/direct");
  EXPECT_EQ(seen[1].target, "http://music.example/p.lrc");
  EXPECT_EQ(seen[1].header("Proxy-Authorization"), "Basic cHJveHl1c2VyOnB3");
}

TEST_F(InternetClient, OptionsCheckTheirHandleAndLength) {
  INTERNET_PROXY_INFO info = {INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
  EXPECT_TRUE(InternetSetOptionA(root_, INTERNET_OPTION_PROXY, &info, 12)) << "the 32-bit record size";
  EXPECT_FALSE(InternetSetOptionA(root_, INTERNET_OPTION_PROXY, &info, 8));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_BAD_OPTION_LENGTH);
  HINTERNET connection = Connect();
  EXPECT_FALSE(InternetSetOptionA(connection, INTERNET_OPTION_PROXY, &info, sizeof info));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  EXPECT_FALSE(InternetSetOptionA(root_, 9999, &info, sizeof info));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_OPTION);
}

TEST_F(InternetClient, OnlyTheHttpServiceConnects) {
  EXPECT_EQ(InternetConnectA(root_, "files.example", 21, "", "", INTERNET_SERVICE_FTP, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INVALID_OPERATION);
  EXPECT_EQ(InternetConnectA(root_, "files.example", 0, "", "", static_cast<DWORD>(-1), 0, 0), nullptr);
}

TEST_F(InternetClient, ClosingARootClosesEverythingUnderIt) {
  server_.otherwise(webtest::Reply(200, "x"));
  HINTERNET request = OpenGet(Connect(), "/x");
  ASSERT_TRUE(Send(request));
  EXPECT_TRUE(InternetCloseHandle(root_));
  DWORD read = 0;
  char buffer[4];
  EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &read));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(InternetCloseHandle(root_));
  EXPECT_EQ(HttpOpenRequestA(root_, "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
  root_ = nullptr;
}

TEST_F(InternetClient, TheRootServesOneRequestAfterAnother) {
  server_.on("/1", webtest::Reply(200, "one"));
  server_.on("/2", webtest::Reply(200, "two"));
  for (const char* path : {"/1", "/2"}) {
    HINTERNET connection = Connect();
    HINTERNET request = OpenGet(connection, path);
    ASSERT_TRUE(Send(request));
    EXPECT_EQ(ReadAll(request, 10240), std::string(path) == "/1" ? "one" : "two");
    EXPECT_TRUE(InternetCloseHandle(request));
    EXPECT_TRUE(InternetCloseHandle(connection));
  }
}

} // namespace
