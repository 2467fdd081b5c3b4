#include "ole32/object_creation.h"
#include "web/page_request.h"
#include "web_test_server.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using webtest::RecordedRequest;
using webtest::Reply;
using webtest::WebTestServer;
using namespace std::chrono_literals;

// The caller's variables of one page request.
struct Request {
  TextValue method, cookies, returnedCookies, headers, redirectTo, responseHeaders;
  TextValue postText;
  ByteSet postBytes;
  bool noRedirect = false;
  int32_t timeoutSeconds = 0;

  std::string Run(const std::string& url) {
    ByteSet body = PageRequest(url.c_str(), method, postText, cookies, returnedCookies, headers, redirectTo,
                               noRedirect, timeoutSeconds, responseHeaders, postBytes);
    return std::string(reinterpret_cast<const char*>(body.Data()), static_cast<size_t>(body.Length()));
  }
};

std::vector<std::string> RequestHeaderNames(const RecordedRequest& r) {
  std::vector<std::string> names;
  for (const std::string& name : r.headerNames()) {
    if (name != "Host" && name != "Content-Length" && name != "Connection")
      names.push_back(name);
  }
  return names;
}

class PageRequestTest : public testing::Test {
protected:
  RecordedRequest Only() {
    EXPECT_TRUE(server.waitForRequests(1, 5000ms));
    std::vector<RecordedRequest> all = server.requests();
    EXPECT_EQ(all.size(), 1u);
    return all.empty() ? RecordedRequest{} : all.front();
  }
  WebTestServer server;
};

TEST_F(PageRequestTest, TheWorkersCallSendsAGetWithTheDefaultHeaderBlock) {
  server.on("/search/lrc", Reply(200, "<html>page</html>"));
  Request r;
  std::string url = server.url("/search/lrc?from=new_mp3&key=abc");
  EXPECT_EQ(r.Run(url), "<html>page</html>");
  RecordedRequest seen = Only();
  EXPECT_EQ(seen.method, "GET");
  EXPECT_EQ(seen.target, "/search/lrc?from=new_mp3&key=abc");
  std::vector<std::string> expected = {"Referer", "Accept", "Accept-Language", "User-Agent", "Content-Type"};
  EXPECT_EQ(RequestHeaderNames(seen), expected);
  EXPECT_EQ(seen.header("Referer"), url);
  EXPECT_EQ(seen.header("Accept"), "*/*");
  EXPECT_EQ(seen.header("Accept-Language"), "zh-cn");
  EXPECT_EQ(seen.header("User-Agent"), "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)");
  EXPECT_EQ(seen.header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(seen.headerCount("Cookie"), 0);
  EXPECT_STREQ(r.method.Bytes(), "GET");
  EXPECT_STREQ(r.headers.Bytes(), ("Referer: " + url +
                                   "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nUser-Agent: Mozilla/5.0 (compatible; "
                                   "MSIE 9.0; Windows NT 6.1; Trident/5.0)\r\nContent-Type: "
                                   "application/x-www-form-urlencoded")
                                      .c_str());
}

TEST_F(PageRequestTest, TheMethodIsUpperCasedInTheCallersVariable) {
  server.on("/form", Reply(200, "ok"));
  Request r;
  r.method = TextValue::Copy("post");
  r.postText = TextValue::Copy("a=1&b=2");
  r.Run(server.url("/form"));
  RecordedRequest seen = Only();
  EXPECT_EQ(seen.method, "POST");
  EXPECT_EQ(seen.body, "a=1&b=2");
  EXPECT_STREQ(r.method.Bytes(), "POST");
}

TEST_F(PageRequestTest, PostBytesAreSentInsteadOfPostText) {
  server.on("/form", Reply(200, "ok"));
  Request r;
  r.method = TextValue::Copy("POST");
  r.postText = TextValue::Copy("ignored");
  r.postBytes = ByteSet::Copy("\x01\x00\x02", 3);
  r.Run(server.url("/form"));
  EXPECT_EQ(Only().body, std::string("\x01\x00\x02", 3));
}

TEST_F(PageRequestTest, HeaderLinesAreSetOneByOneAfterTheCookie) {
  struct Case {
    const char* headers;
    std::vector<std::string> names;
  } cases[] = {
      {"X-A: b:c", {"Cookie", "X-A"}},
      {"X-A: 1\r\n\r\nX-B: 2", {"Cookie", "X-A", "X-B"}},
      {"X-A: 1\r\nX-B: 2\r\n", {"Cookie", "X-A", "X-B"}},
  };
  for (const Case& c : cases) {
    WebTestServer local;
    local.on("/", Reply(200, "ok"));
    Request r;
    r.cookies = TextValue::Copy("a=1");
    r.headers = TextValue::Copy(c.headers);
    r.Run(local.url("/"));
    ASSERT_TRUE(local.waitForRequests(1, 5000ms));
    RecordedRequest seen = local.requests().front();
    EXPECT_EQ(RequestHeaderNames(seen), c.names) << c.headers;
    EXPECT_EQ(seen.header("Cookie"), "a=1");
  }
  WebTestServer local;
  local.on("/", Reply(200, "ok"));
  Request r;
  r.headers = TextValue::Copy("X-A: b:c");
  r.Run(local.url("/"));
  ASSERT_TRUE(local.waitForRequests(1, 5000ms));
  EXPECT_EQ(local.requests().front().header("X-A"), "b:c");
}

TEST_F(PageRequestTest, LocationAndSetCookieLinesOfTheResponse) {
  server.on("/", Reply(200, "ok",
                       {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2", "Location: /next",
                        "Content-Location: /a.html", "location: /x"}));
  Request r;
  r.noRedirect = true;
  r.cookies = TextValue::Copy("a=0; c=3");
  r.Run(server.url("/"));
  // The last matching line wins, and "Content-Location:" matches too.
  EXPECT_STREQ(r.redirectTo.Bytes(), "Content- /a.html");
  // b=2 has no ";" after its pair and gives an empty item.
  EXPECT_STREQ(r.returnedCookies.Bytes(), "a=1;;");
  EXPECT_STREQ(r.cookies.Bytes(), "a=1; c=3; ; ");
  EXPECT_NE(std::string(r.responseHeaders.Bytes()).find("Set-Cookie: b=2\r\n"), std::string::npos);
}

TEST_F(PageRequestTest, WithoutALocationTheRedirectTargetIsTheHeaderText) {
  server.on("/", Reply(200, "ok", {"X-Only: 1"}));
  Request r;
  r.Run(server.url("/"));
  EXPECT_STREQ(r.redirectTo.Bytes(), r.responseHeaders.Bytes());
  EXPECT_NE(std::string(r.redirectTo.Bytes()).find("X-Only: 1\r\n"), std::string::npos);

  Request kept;
  kept.redirectTo = TextValue::Copy("/mine");
  kept.Run(server.url("/"));
  EXPECT_STREQ(kept.redirectTo.Bytes(), "/mine");
}

TEST_F(PageRequestTest, RedirectsAreFollowedUnlessSwitchedOff) {
  server.on("/old", webtest::Redirect(302, "/new", "moved"));
  server.on("/new", Reply(200, "new page"));
  Request follow;
  EXPECT_EQ(follow.Run(server.url("/old")), "new page");
  Request stay;
  stay.noRedirect = true;
  EXPECT_EQ(stay.Run(server.url("/old")), "moved");
  EXPECT_STREQ(stay.redirectTo.Bytes(), "/new");
}

TEST_F(PageRequestTest, AStalledServerEndsWithinTheTimeout) {
  server.on("/", webtest::ReplyAfter(8000ms, Reply(200, "late")));
  Request r;
  r.timeoutSeconds = 1;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(r.Run(server.url("/")), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
  EXPECT_STREQ(r.responseHeaders.Bytes(), "");
  EXPECT_STREQ(r.redirectTo.Bytes(), "");
}

TEST(PageRequest, AnUnreachableServerGivesNothingQuickly) {
  Request r;
  r.cookies = TextValue::Copy("a=1");
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(r.Run("http://127.0.0.1:" + std::to_string(webtest::UnusedPort()) + "/"), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);
  EXPECT_STREQ(r.cookies.Bytes(), "a=1; ");
  EXPECT_STREQ(r.returnedCookies.Bytes(), "");
}

TEST(PageRequest, AnObjectThatCannotBeCreatedChangesNoVariable) {
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"WinHttp.WinHttpRequest.5.1", &clsid), S_OK);
  ASSERT_EQ(PlatformComUnregisterClass(clsid), S_OK);
  Request r;
  r.method = TextValue::Copy("post");
  r.cookies = TextValue::Copy("a=1");
  r.redirectTo = TextValue::Copy("/r");
  EXPECT_EQ(r.Run("http://127.0.0.1:1/"), "");
  PlatformComResetClasses();
  EXPECT_STREQ(r.method.Bytes(), "post");
  EXPECT_TRUE(r.headers.IsNull());
  EXPECT_STREQ(r.cookies.Bytes(), "a=1");
  EXPECT_STREQ(r.redirectTo.Bytes(), "/r");
}

} // namespace
