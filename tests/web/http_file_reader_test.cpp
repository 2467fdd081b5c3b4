#include "runtime/internet_component.h"
#include "web/http_file_reader.h"
#include "web_test_server.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using webtest::Reply;
using webtest::WebTestServer;
using namespace std::chrono_literals;

std::mutex chunks_mutex;
std::vector<size_t> chunks;

void RecordChunk(size_t chunk) {
  std::lock_guard lock(chunks_mutex);
  chunks.push_back(chunk);
}

class HttpFileReaderTest : public testing::Test {
protected:
  void SetUp() override {
    unsetenv("http_proxy");
    chunks.clear();
    SetChunkObserverForTesting(RecordChunk);
  }
  void TearDown() override { SetChunkObserverForTesting(nullptr); }

  std::string Read(const std::string& url) {
    ByteSet bytes = HttpFileReader(url.c_str());
    return std::string(reinterpret_cast<const char*>(bytes.Data()), static_cast<size_t>(bytes.Length()));
  }

  WebTestServer server;
};

TEST_F(HttpFileReaderTest, AsksForThePathWithAPlainHttp10Get) {
  server.on("/dir/a.lrc", Reply(200, "[00:01.00]la"));
  EXPECT_EQ(Read(server.url("/dir/a.lrc#top")), "[00:01.00]la");
  ASSERT_TRUE(server.waitForRequests(1, 5000ms));
  webtest::RecordedRequest seen = server.requests().front();
  EXPECT_EQ(seen.requestLine, "GET /dir/a.lrc HTTP/1.0");
  EXPECT_EQ(seen.header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(seen.headerCount("Accept"), 1);
  EXPECT_EQ(seen.header("Accept"), "*/*");
}

TEST_F(HttpFileReaderTest, AnErrorPageIsTheResult) {
  server.on("/missing.lrc", Reply(404, "<html>not here</html>"));
  EXPECT_EQ(Read(server.url("/missing.lrc")), "<html>not here</html>");
}

TEST_F(HttpFileReaderTest, TheChunkSizeFollowsTheContentLength) {
  struct Case {
    const char* what;
    webtest::Handler handler;
    size_t body_size;
    size_t chunk;
  } cases[] = {
      {"3000 bytes with their length", Reply(200, std::string(3000, 'a')), 3000, 3001},
      {"500000 bytes", Reply(200, std::string(500000, 'b')), 500000, 102400},
      {"no length", webtest::ReplyWithoutLength(200, std::string(25000, 'c')), 25000, 10240},
      {"length 0", Reply(200, ""), 0, 10240},
  };
  for (const Case& c : cases) {
    WebTestServer local;
    local.on("/f", c.handler);
    chunks.clear();
    ByteSet bytes = HttpFileReader(local.url("/f").c_str());
    EXPECT_EQ(static_cast<size_t>(bytes.Length()), c.body_size) << c.what;
    std::lock_guard lock(chunks_mutex);
    ASSERT_FALSE(chunks.empty()) << c.what;
    for (size_t chunk : chunks)
      EXPECT_EQ(chunk, c.chunk) << c.what;
  }
  // A body that fits is read whole by the first read; the second reports its end.
  WebTestServer local;
  local.on("/f", Reply(200, std::string(3000, 'a')));
  chunks.clear();
  HttpFileReader(local.url("/f").c_str());
  EXPECT_EQ(chunks.size(), 2u);
}

TEST_F(HttpFileReaderTest, ABodyCutShortGivesWhatArrived) {
  server.on("/cut.lrc", webtest::ReplyCutShort(80000, std::string(50000, 'x')));
  EXPECT_EQ(Read(server.url("/cut.lrc")).size(), 50000u);
}

TEST_F(HttpFileReaderTest, OnlyHttpUrlsLeadToARequest) {
  for (const char* url : {"", "ftp://127.0.0.1/a.lrc", "127.0.0.1/a.lrc", "no url at all"})
    EXPECT_EQ(Read(url), "") << url;
  EXPECT_EQ(server.connectionCount(), 0);
}

TEST_F(HttpFileReaderTest, AnUnreachablePortGivesNothingQuickly) {
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Read("http://127.0.0.1:" + std::to_string(webtest::UnusedPort()) + "/a.lrc"), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST_F(HttpFileReaderTest, TheRootHandleIsOpenedOnceAndReused) {
  server.on("/a", Reply(200, "a"));
  Read(server.url("/a"));
  void* root = TheInternetState().root;
  ASSERT_NE(root, nullptr);
  Read(server.url("/a"));
  EXPECT_EQ(TheInternetState().root, root);
}

TEST_F(HttpFileReaderTest, TheSystemProxySettingsAreUsed) {
  server.on("/lrc/1.lrc", Reply(200, "through the proxy"));
  setenv("http_proxy", server.url().c_str(), 1);
  unsetenv("no_proxy");
  EXPECT_EQ(Read("http://127.0.0.1:8780/lrc/1.lrc"), "through the proxy");
  unsetenv("http_proxy");
  ASSERT_TRUE(server.waitForRequests(1, 5000ms));
  EXPECT_EQ(server.requests().front().target, "http://127.0.0.1:8780/lrc/1.lrc");
}

TEST(ReadChunkSize, FromTheContentLengthText) {
  struct Case {
    const char* length;
    size_t chunk;
  } cases[] = {{"3000", 3001}, {"102399", 102400}, {"102400", 102400}, {"500000", 102400}, {"0", 10240},
               {"-5", 10240},  {"abc", 10240},     {"", 10240},         {nullptr, 10240}};
  for (const Case& c : cases)
    EXPECT_EQ(ReadChunkSize(c.length), c.chunk) << (c.length ? c.length : "null");
}

} // namespace
