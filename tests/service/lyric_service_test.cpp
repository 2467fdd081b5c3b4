#include "service/lyric_server.h"
#include "service/lyric_service.h"

#include "service_fixture.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace {

using lyric_service::LyricServiceRunner;
using namespace service_test;

constexpr std::string_view kHtml = "text/html; charset=utf-8";
constexpr std::string_view kPlain = "text/plain; charset=utf-8";
// 我的歌声里 in UTF-8, percent-encoded the way the client escapes it.
constexpr std::string_view kSongEncoded = "%E6%88%91%E7%9A%84%E6%AD%8C%E5%A3%B0%E9%87%8C";
constexpr std::string_view kSongRaw = "我的歌声里";
// Stored bytes with a BOM, CR LF line ends and a trailing blank line: served unchanged.
constexpr std::string_view kSongLyric =
    "\xEF\xBB\xBF[ti:我的歌声里]\r\n[00:12.30]第一句\r\n[00:15.00]second line\r\n\r\n";
constexpr std::string_view kSecret = "[00:00.00]outside the library";

std::string SearchTarget(std::string_view key) { return "/search/lrc?from=new_mp3&key=" + std::string(key); }

class LyricServiceTest : public ::testing::Test {
protected:
  void SetUp() override {
    outside_.Write("secret.lrc", kSecret);
    library_.Write("我的歌声里.lrc", kSongLyric);
    library_.Write("Vallisa-我的歌声里.lrc", "[00:01.00]Vallisa");
    library_.Write("Paper Boats.lrc", "[00:02.00]paper boats");
    library_.Write("sub/晚风灯塔.lrc", "[00:03.00]晚风");
    library_.Link(outside_.Path() / "secret.lrc", "secret.lrc");
    library_.Link(outside_.Path(), "outside");
    service_ = std::make_unique<LyricServiceRunner>(library_.Path(), [this](const std::string& line) {
      std::lock_guard lock(log_mutex_);
      log_.push_back(line);
    });
    ASSERT_NE(service_->Port(), 0) << service_->Error();
  }

  std::string LinkOf(std::string_view title) const {
    for (const auto& entry : service_->Library()->Entries()) {
      if (entry.title == title)
        return "/lrc/" + std::to_string(entry.id) + ".lrc";
    }
    return "";
  }

  httplib::Client Client() const {
    httplib::Client client("127.0.0.1", service_->Port());
    client.set_connection_timeout(5);
    client.set_read_timeout(5);
    client.set_url_encode(false);
    return client;
  }

  std::vector<std::string> Log() {
    std::lock_guard lock(log_mutex_);
    return log_;
  }

  TempFolder outside_;
  TempFolder library_;
  std::mutex log_mutex_;
  std::vector<std::string> log_;
  std::unique_ptr<LyricServiceRunner> service_;
};

TEST_F(LyricServiceTest, SearchListsHitsExactFirstInUtf8Html) {
  auto res = Client().Get(SearchTarget(kSongEncoded));
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->get_header_value("Content-Type"), kHtml);
  EXPECT_EQ(Links(res->body), (std::vector<std::string>{LinkOf("我的歌声里"), LinkOf("Vallisa-我的歌声里")}));
  EXPECT_EQ(CountOf(res->body, kCaption), 2u);
  EXPECT_EQ(ClientLink(res->body), LinkOf("我的歌声里"));

  auto other = Client().Get(SearchTarget("Vallisa-" + std::string(kSongEncoded)));
  ASSERT_TRUE(other);
  EXPECT_EQ(Links(other->body),
            (std::vector<std::string>{LinkOf("Vallisa-我的歌声里"), LinkOf("我的歌声里")}));
}

TEST_F(LyricServiceTest, KeySpellingsFindTheSameHits) {
  const std::string expected = Client().Get(SearchTarget(kSongEncoded))->body;
  ASSERT_EQ(CountOf(expected, kCaption), 2u);
  for (std::string key : {std::string(kSongRaw), std::string("%e6%88%91%e7%9a%84%e6%ad%8c%e5%a3%b0%e9%87%8c"),
                          std::string("%E6%88%91的歌声%E9%87%8C")}) {
    RawResponse res = RawGet(service_->Port(), SearchTarget(key));
    EXPECT_EQ(res.status, 200) << key;
    EXPECT_EQ(res.body, expected) << key;
  }
}

TEST_F(LyricServiceTest, AsciiCaseIsIgnoredAndPlusIsAPlus) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"PAPER%20boats", {LinkOf("Paper Boats")}},
      {"paper", {LinkOf("Paper Boats")}},
      {"Paper+Boats", {}},
      {"晚风灯塔", {LinkOf("晚风灯塔")}},
  };
  for (const auto& [key, links] : cases) {
    RawResponse res = RawGet(service_->Port(), SearchTarget(key));
    EXPECT_EQ(res.status, 200) << key;
    EXPECT_EQ(Links(res.body), links) << key;
  }
}

TEST_F(LyricServiceTest, NoHitEmptyKeyAndNoKeyGiveAPageWithoutButtons) {
  for (std::string target : {SearchTarget("%E6%97%A0%E4%BA%BA"), SearchTarget(""), std::string("/search/lrc"),
                             std::string("/search/lrc?from=new_mp3")}) {
    RawResponse res = RawGet(service_->Port(), target);
    EXPECT_EQ(res.status, 200) << target;
    EXPECT_EQ(res.headers["content-type"], kHtml) << target;
    EXPECT_NE(res.body.find("</html>"), std::string::npos) << target;
    EXPECT_EQ(CountOf(res.body, kCaption), 0u) << target;
    EXPECT_TRUE(Links(res.body).empty()) << target;
  }
}

TEST_F(LyricServiceTest, LinkServesTheStoredBytesWithTheirLength) {
  const std::string link = ClientLink(Client().Get(SearchTarget(kSongEncoded))->body);
  ASSERT_EQ(link, LinkOf("我的歌声里"));
  auto res = Client().Get(link);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->body, kSongLyric);
  EXPECT_EQ(res->get_header_value("Content-Type"), kPlain);
  EXPECT_EQ(res->get_header_value("Content-Length"), std::to_string(kSongLyric.size()));

  // Even a client that accepts compression gets the bytes as stored.
  RawResponse raw = RawExchange(service_->Port(),
                                "GET " + link + " HTTP/1.0\r\nAccept-Encoding: gzip, deflate, br\r\n\r\n");
  EXPECT_EQ(raw.status, 200);
  EXPECT_EQ(raw.body, kSongLyric);
  EXPECT_EQ(raw.headers.count("content-encoding"), 0u);
  EXPECT_EQ(raw.headers["content-length"], std::to_string(kSongLyric.size()));

  RawResponse head = RawExchange(service_->Port(), "HEAD " + link + " HTTP/1.0\r\n\r\n");
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.headers["content-length"], std::to_string(kSongLyric.size()));
  EXPECT_TRUE(head.body.empty());
}

// Without a length a keep-alive client could only wait for the connection to close.
TEST_F(LyricServiceTest, AnEmptyLyricIsServedWithLengthZero) {
  library_.Write("empty.lrc", "");
  service_ = std::make_unique<LyricServiceRunner>(library_.Path());
  auto res = Client().Get(LinkOf("empty"));
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->get_header_value("Content-Length"), "0");
  EXPECT_TRUE(res->body.empty());
}

TEST_F(LyricServiceTest, LinksStayTheSameAcrossSearches) {
  const std::string first = Client().Get(SearchTarget(kSongEncoded))->body;
  // Another search, and one that lists the file second, hand out the same link for it.
  EXPECT_EQ(Client().Get(SearchTarget(kSongEncoded))->body, first);
  const auto second = Links(Client().Get(SearchTarget("Vallisa-" + std::string(kSongEncoded)))->body);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[1], ClientLink(first));
  EXPECT_EQ(Client().Get(second[1])->body, kSongLyric);
}

TEST_F(LyricServiceTest, UnknownResourcesAre404WithAPage) {
  const size_t count = service_->Library()->Entries().size();
  for (std::string target :
       {"/lrc/" + std::to_string(count + 1) + ".lrc", std::string("/lrc/0.lrc"),
        "/lrc/0" + LinkOf("Paper Boats").substr(5), std::string("/lrc/-1.lrc"), std::string("/lrc/1.txt"),
        std::string("/lrc/.lrc"), std::string("/lrc/99999999999.lrc"), std::string("/lrc/1.lrc/x"),
        std::string("/"), std::string("/search")}) {
    RawResponse res = RawGet(service_->Port(), target);
    EXPECT_EQ(res.status, 404) << target;
    EXPECT_EQ(res.headers["content-type"], kHtml) << target;
    EXPECT_NE(res.body.find("404"), std::string::npos) << target;
    EXPECT_NE(res.body.find("</html>"), std::string::npos) << target;
  }
}

TEST_F(LyricServiceTest, OtherMethodsAreRefused) {
  RawResponse res =
      RawExchange(service_->Port(), "POST /search/lrc HTTP/1.0\r\nContent-Length: 3\r\n\r\nkey");
  EXPECT_EQ(res.status, 405);
  EXPECT_EQ(res.headers["allow"], "GET, HEAD");
  EXPECT_NE(res.body.find("405"), std::string::npos);
}

// The service stands as the http_proxy of a test: requests then name any host in full.
TEST_F(LyricServiceTest, AbsoluteFormTargetsAreServedLikeOrigin) {
  const std::string direct = RawGet(service_->Port(), SearchTarget(kSongEncoded)).body;
  RawResponse page = RawGet(service_->Port(), "http://any-host" + SearchTarget(kSongEncoded));
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.body, direct);
  EXPECT_EQ(ClientLink(page.body), LinkOf("我的歌声里"));

  RawResponse lyric = RawGet(service_->Port(), "http://lyrics.example:8780" + LinkOf("我的歌声里"));
  EXPECT_EQ(lyric.status, 200);
  EXPECT_EQ(lyric.body, kSongLyric);

  // HTTP/1.1 with a Host that names another server, as a proxy client sends it.
  RawResponse proxied =
      RawExchange(service_->Port(), "GET http://any-host" + LinkOf("Paper Boats") +
                                        " HTTP/1.1\r\nHost: any-host\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(proxied.status, 200);
  EXPECT_EQ(proxied.body, "[00:02.00]paper boats");
}

TEST_F(LyricServiceTest, FilesOutsideTheLibraryAreNeverServed) {
  EXPECT_TRUE(Links(RawGet(service_->Port(), SearchTarget("secret")).body).empty());
  const size_t count = service_->Library()->Entries().size();
  EXPECT_EQ(count, 4u);
  for (size_t id = 1; id <= count + 2; id++)
    EXPECT_EQ(
        RawGet(service_->Port(), "/lrc/" + std::to_string(id) + ".lrc").body.find("outside the library"),
        std::string::npos)
        << id;
  const std::string outside_name = outside_.Path().filename().string();
  for (std::string target :
       {std::string("/lrc/../secret.lrc"), std::string("/lrc/%2e%2e/secret.lrc"),
        std::string("/lrc/..%2Fsecret.lrc"), std::string("/secret.lrc"), std::string("/outside/secret.lrc"),
        "/../" + outside_name + "/secret.lrc", "/lrc/%2E%2E/%2E%2E/" + outside_name + "/secret.lrc",
        "http://any-host/../../" + outside_name + "/secret.lrc"}) {
    RawResponse res = RawGet(service_->Port(), target);
    EXPECT_EQ(res.status, 404) << target;
    EXPECT_EQ(res.body.find("outside the library"), std::string::npos) << target;
  }
}

TEST_F(LyricServiceTest, LogsOneLinePerRequest) {
  RawGet(service_->Port(), SearchTarget(kSongEncoded));
  RawGet(service_->Port(), "http://any-host/lrc/999.lrc");
  std::vector<std::string> log = Log();
  EXPECT_EQ(log, (std::vector<std::string>{"GET " + SearchTarget(kSongEncoded) + " 200",
                                           "GET http://any-host/lrc/999.lrc 404"}));
}

TEST(LyricServiceRunner, MissingLibraryDoesNotStart) {
  TempFolder folder;
  LyricServiceRunner service(folder.Path() / "absent");
  EXPECT_EQ(service.Port(), 0);
  EXPECT_EQ(service.Library(), nullptr);
  EXPECT_NE(service.Error().find("absent"), std::string::npos);
}

// httplib's default socket options include SO_REUSEPORT, which would let two services share one
// port and split its connections between them.
TEST(LyricServer, PortTakenByAnotherServiceIsAnError) {
  TempFolder folder;
  folder.Write("a.lrc", "a");
  auto library = [&] { return std::move(*lyric_service::LyricLibrary::Read(folder.Path()).library); };
  lyric_service::LyricServer first(library(), {});
  const lyric_service::BindResult bound = first.Bind("127.0.0.1", 0);
  ASSERT_NE(bound.port, 0) << bound.error;
  lyric_service::LyricServer second(library(), {});
  const lyric_service::BindResult refused = second.Bind("127.0.0.1", bound.port);
  EXPECT_EQ(refused.port, 0);
  EXPECT_NE(refused.error.find("Address already in use"), std::string::npos) << refused.error;
}

TEST(LyricServer, StopBeforeServeEndsServeAtOnce) {
  TempFolder folder;
  folder.Write("a.lrc", "a");
  lyric_service::LyricServer server(std::move(*lyric_service::LyricLibrary::Read(folder.Path()).library), {});
  ASSERT_NE(server.Bind("127.0.0.1", 0).port, 0);
  server.Stop();
  EXPECT_TRUE(server.Serve());
}

// A slow network on demand: the answer comes, only later.
TEST(LyricServer, AnAnswerDelayHoldsEveryAnswerBack) {
  TempFolder folder;
  folder.Write("a.lrc", "a");
  lyric_service::LyricServer server(std::move(*lyric_service::LyricLibrary::Read(folder.Path()).library), {});
  const int port = server.Bind("127.0.0.1", 0).port;
  ASSERT_NE(port, 0);
  server.SetAnswerDelay(300);
  std::thread serving([&] { server.Serve(); });
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(5);
  const auto start = std::chrono::steady_clock::now();
  auto res = client.Get(SearchTarget("a"));
  const auto waited = std::chrono::steady_clock::now() - start;
  server.Stop();
  serving.join();
  ASSERT_TRUE(res);
  EXPECT_EQ(Links(res->body).size(), 1u);
  EXPECT_GE(waited, std::chrono::milliseconds(300));
}

// A port left open after the service stops would accept connections that nobody ever answers.
TEST(LyricServiceRunner, StopsRightAfterStartingAndClosesItsPort) {
  TempFolder folder;
  folder.Write("a.lrc", "a");
  for (int i = 0; i < 20; i++) {
    int port = 0;
    {
      LyricServiceRunner service(folder.Path());
      port = service.Port();
      ASSERT_NE(port, 0);
    }
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(1);
    EXPECT_EQ(client.Get("/").error(), httplib::Error::Connection) << "round " << i;
  }
}

} // namespace
