#include "automation.h"
#include "environment_variable.h"
#include "web_test_server.h"

#include "ole32/com_init.h"
#include "winhttp/winhttp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

using ::testing::ElementsAre;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::u16string Wide(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// Each test gets an initialised thread, a fresh request object, a loopback
// server and an environment without proxy settings.
class RequestObject : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY",
                             "HTTPS_PROXY", "ALL_PROXY", "NO_PROXY"})
      cleared_.push_back(std::make_unique<EnvironmentVariable>(name, nullptr));
    ASSERT_EQ(Automation::Create(&request_), S_OK);
  }
  void TearDown() override {
    request_ = Automation();
    CoUninitialize();
  }

  HRESULT Open(std::string_view method, std::u16string url) {
    return request_.call(u"Open", {Value::Text(Wide(method)), Value::Text(url), Value::Bool(false)});
  }
  HRESULT Header(std::string_view name, std::string_view value) {
    return request_.call(u"SetRequestHeader", {Value::Text(Wide(name)), Value::Text(Wide(value))});
  }
  HRESULT Send() { return request_.call(u"Send", {Value::NullText()}); }
  HRESULT Send(Value body) { return request_.call(u"Send", {std::move(body)}); }
  std::string Body() {
    Value body;
    EXPECT_EQ(request_.get(u"ResponseBody", &body), S_OK);
    EXPECT_EQ((*body).vt, VT_ARRAY | VT_UI1);
    return body.bytes();
  }
  std::string Headers() {
    Value headers;
    EXPECT_EQ(request_.get(u"GetallResponseHeaders", &headers), S_OK);
    return headers.text();
  }
  LONG Status() {
    Value status;
    EXPECT_EQ(request_.get(u"Status", &status), S_OK);
    return (*status).lVal;
  }
  webtest::RecordedRequest OnlyRequest() {
    std::vector<webtest::RecordedRequest> seen = server_.requests();
    EXPECT_EQ(seen.size(), 1u);
    return seen.empty() ? webtest::RecordedRequest() : seen.front();
  }

  std::vector<std::unique_ptr<EnvironmentVariable>> cleared_;
  webtest::WebTestServer server_;
  Automation request_;
};

TEST_F(RequestObject, NamesAreFoundWithoutRegardToCase) {
  struct Case {
    const char16_t* given;
    const char16_t* canonical;
  } cases[] = {{u"GetallResponseHeaders", u"GetAllResponseHeaders"},
               {u"OPEN", u"Open"},
               {u"setrequestheader", u"SetRequestHeader"},
               {u"responsebody", u"ResponseBody"}};
  for (const Case& c : cases) {
    DISPID given = 0, canonical = 1;
    LPOLESTR a[] = {const_cast<LPOLESTR>(c.given)};
    LPOLESTR b[] = {const_cast<LPOLESTR>(c.canonical)};
    EXPECT_EQ(request_.object()->GetIDsOfNames(IID_NULL, a, 1, 0, &given), S_OK);
    EXPECT_EQ(request_.object()->GetIDsOfNames(IID_NULL, b, 1, 0, &canonical), S_OK);
    EXPECT_EQ(given, canonical);
  }
  DISPID id = 0;
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(u"GetAllResponseHeader")};
  EXPECT_EQ(request_.object()->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST_F(RequestObject, SendsTheRequestLineHostAndTheHeadersInTheOrderSet) {
  server_.on("/search/lrc", webtest::Reply(200, "<html>result</html>"));
  std::u16string url = Wide(server_.url("/search/lrc?from=new_mp3&key=abc"));
  ASSERT_EQ(Open("GET", url), S_OK);
  ASSERT_EQ(Header("Referer", server_.url("/search/lrc?from=new_mp3&key=abc")), S_OK);
  ASSERT_EQ(Header("Accept", "*/*"), S_OK);
  ASSERT_EQ(Header("Accept-Language", "zh-cn"), S_OK);
  ASSERT_EQ(Header("User-Agent", "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0)"), S_OK);
  ASSERT_EQ(Header("Content-Type", "application/x-www-form-urlencoded"), S_OK);
  ASSERT_EQ(Send(), S_OK);

  EXPECT_EQ(Body(), "<html>result</html>");
  webtest::RecordedRequest seen = OnlyRequest();
  EXPECT_EQ(seen.requestLine, "GET /search/lrc?from=new_mp3&key=abc HTTP/1.1");
  EXPECT_THAT(seen.headerNames(),
              ElementsAre("Host", "Referer", "Accept", "Accept-Language", "User-Agent", "Content-Type"));
  EXPECT_EQ(seen.header("Host"), "127.0.0.1:" + std::to_string(server_.port()));
  EXPECT_EQ(seen.header("Accept"), "*/*");
}

TEST_F(RequestObject, AddsNoHeadersOfItsOwnBeyondHost) {
  ASSERT_EQ(Open("GET", Wide(server_.url("/plain"))), S_OK);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_THAT(OnlyRequest().headerNames(), ElementsAre("Host"));
}

TEST_F(RequestObject, TheSameHeaderSetTwiceKeepsItsPlaceWithTheNewValue) {
  ASSERT_EQ(Open("GET", Wide(server_.url("/"))), S_OK);
  ASSERT_EQ(Header("Cookie", "a=1"), S_OK);
  ASSERT_EQ(Header("X-Other", "x"), S_OK);
  ASSERT_EQ(Header("cookie", "b=2"), S_OK);
  ASSERT_EQ(Send(), S_OK);
  webtest::RecordedRequest seen = OnlyRequest();
  EXPECT_THAT(seen.headerNames(), ElementsAre("Host", "Cookie", "X-Other"));
  EXPECT_EQ(seen.header("Cookie"), "b=2");
}

TEST_F(RequestObject, RefusesMalformedHeadersAndCallsOutOfOrder) {
  EXPECT_EQ(Header("X-A", "b"), WINHTTP_E_CANNOT_CALL_BEFORE_OPEN);
  EXPECT_EQ(Send(), WINHTTP_E_CANNOT_CALL_BEFORE_OPEN);
  ASSERT_EQ(Open("GET", Wide(server_.url("/"))), S_OK);
  EXPECT_EQ(Header("", ""), E_INVALIDARG);
  EXPECT_EQ(Header("X-A", "b\r\nInjected: yes"), E_INVALIDARG);
  Value body;
  EXPECT_EQ(request_.get(u"ResponseBody", &body), WINHTTP_E_CANNOT_CALL_BEFORE_SEND);
}

TEST_F(RequestObject, TheMethodGoesOutAsGiven) {
  for (const char* method : {"PATCH", "post", "DELETE"}) {
    ASSERT_EQ(Open(method, Wide(server_.url("/m"))), S_OK);
    ASSERT_EQ(Send(), S_OK);
  }
  std::vector<webtest::RecordedRequest> seen = server_.requests();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].requestLine, "PATCH /m HTTP/1.1");
  EXPECT_EQ(seen[1].requestLine, "post /m HTTP/1.1");
  EXPECT_EQ(seen[2].requestLine, "DELETE /m HTTP/1.1");
  EXPECT_EQ(seen[0].headerCount("Content-Length"), 0);
}

TEST_F(RequestObject, ATextBodyGoesOutAsUtf8WithItsLength) {
  ASSERT_EQ(Open("POST", Wide(server_.url("/form"))), S_OK);
  ASSERT_EQ(Send(Value::Text(u"k=%41&v=\u6b4c")), S_OK);
  webtest::RecordedRequest seen = OnlyRequest();
  EXPECT_EQ(seen.body, "k=%41&v=\xE6\xAD\x8C");
  EXPECT_EQ(seen.header("Content-Length"), "11");
  EXPECT_THAT(seen.headerNames(), ElementsAre("Host", "Content-Length")) << "no Content-Type or Expect added";
}

TEST_F(RequestObject, APostWithoutBodyAnnouncesZeroBytes) {
  ASSERT_EQ(Open("POST", Wide(server_.url("/form"))), S_OK);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_EQ(OnlyRequest().header("Content-Length"), "0");
}

TEST_F(RequestObject, ByteBodiesGoOutExactlyAlsoThroughAReference) {
  const std::string bytes("\x00\x01\xFE\xFFz", 5);
  ASSERT_EQ(Open("POST", Wide(server_.url("/bytes"))), S_OK);
  ASSERT_EQ(Send(Value::Bytes(bytes)), S_OK);
  Value array = Value::Bytes(bytes);
  ASSERT_EQ(Send(Value::Reference(array)), S_OK);
  std::vector<webtest::RecordedRequest> seen = server_.requests();
  ASSERT_EQ(seen.size(), 2u);
  for (const webtest::RecordedRequest& r : seen) {
    EXPECT_EQ(r.body, bytes);
    EXPECT_EQ(r.header("Content-Length"), "5");
  }
}

TEST_F(RequestObject, TheUrlGoesOutInUtf8WithOnlyUnsafeBytesEscaped) {
  struct Case {
    std::u16string path;
    std::string target;
  } cases[] = {
      {u"/a b", "/a%20b"},
      {u"/%41/x", "/%41/x"},
      {u"/\u6b4c?key=\u6b4c\u540d", "/%E6%AD%8C?key=%E6%AD%8C%E5%90%8D"},
      {u"/dir/../a.lrc#top", "/dir/../a.lrc"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Open("GET", Wide(server_.url()) + c.path), S_OK);
    ASSERT_EQ(Send(), S_OK);
  }
  std::vector<webtest::RecordedRequest> seen = server_.requests();
  ASSERT_EQ(seen.size(), std::size(cases));
  for (size_t i = 0; i < seen.size(); i++)
    EXPECT_EQ(seen[i].target, cases[i].target);
}

TEST_F(RequestObject, OpenRefusesWhatIsNoHttpUrl) {
  EXPECT_EQ(Open("GET", u"not a url"), WINHTTP_E_INVALID_URL);
  EXPECT_EQ(Open("GET", u"ftp://127.0.0.1/a"), WINHTTP_E_UNRECOGNIZED_SCHEME);
  EXPECT_EQ(Open("BAD METHOD", Wide(server_.url("/"))), E_INVALIDARG);
}

TEST_F(RequestObject, FollowsARedirectAndGivesTheFinalResponse) {
  server_.on("/start", webtest::Redirect(302, "/final", "moved", {"Set-Cookie: a=1"}));
  server_.on("/final", webtest::Reply(200, "done", {"X-Final: yes"}));
  ASSERT_EQ(Open("GET", Wide(server_.url("/start"))), S_OK);
  ASSERT_EQ(Header("Accept", "*/*"), S_OK);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_EQ(Status(), 200);
  EXPECT_EQ(Body(), "done");
  EXPECT_EQ(Headers(), "X-Final: yes\r\nContent-Length: 4\r\n");
  std::vector<webtest::RecordedRequest> seen = server_.requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].requestLine, "GET /final HTTP/1.1");
  EXPECT_EQ(seen[1].header("Accept"), "*/*") << "the headers set go to every hop";
}

TEST_F(RequestObject, WithRedirectsOffTheRedirectIsTheResponse) {
  server_.on("/start", webtest::Redirect(302, "/final", "moved here", {"Set-Cookie: a=1; path=/"}));
  ASSERT_EQ(Open("GET", Wide(server_.url("/start"))), S_OK);
  ASSERT_EQ(request_.put(u"Option", {Value::Long(WinHttpRequestOption_EnableRedirects)}, Value::Bool(false)),
            S_OK);
  Value option;
  ASSERT_EQ(request_.get(u"Option", &option, {Value::Long(WinHttpRequestOption_EnableRedirects)}), S_OK);
  EXPECT_EQ((*option).vt, VT_BOOL);
  EXPECT_EQ((*option).boolVal, VARIANT_FALSE);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_EQ(Status(), 302);
  EXPECT_EQ(Body(), "moved here");
  EXPECT_EQ(Headers(), "Location: /final\r\nSet-Cookie: a=1; path=/\r\nContent-Length: 10\r\n");
  EXPECT_EQ(server_.requests().size(), 1u);
}

TEST_F(RequestObject, TooManyRedirectsFail) {
  server_.on("/loop", webtest::Redirect(302, "/loop"));
  ASSERT_EQ(Open("GET", Wide(server_.url("/loop"))), S_OK);
  EXPECT_EQ(Send(), WINHTTP_E_REDIRECT_FAILED);
  EXPECT_EQ(server_.requests().size(), 11u) << "the first request and ten redirects";
}

TEST_F(RequestObject, APostRedirectedBy302BecomesAGetWithoutBody) {
  server_.on("/post", webtest::Redirect(302, "/after"));
  ASSERT_EQ(Open("POST", Wide(server_.url("/post"))), S_OK);
  ASSERT_EQ(Send(Value::Text(u"a=1")), S_OK);
  std::vector<webtest::RecordedRequest> seen = server_.requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].requestLine, "GET /after HTTP/1.1");
  EXPECT_EQ(seen[1].body, "");
  EXPECT_EQ(seen[1].headerCount("Content-Length"), 0);
}

TEST_F(RequestObject, ErrorPagesAreResponsesLikeAnyOther) {
  ASSERT_EQ(Open("GET", Wide(server_.url("/missing"))), S_OK);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_EQ(Status(), 404);
  EXPECT_EQ(Body(), "<html><body><h1>404 Not Found</h1></body></html>");
  Value text;
  ASSERT_EQ(request_.get(u"StatusText", &text), S_OK);
  EXPECT_EQ(text.text(), "Not Found");
}

TEST_F(RequestObject, ABodyEndedByTheServerClosingArrivesWhole) {
  server_.on("/close", webtest::ReplyWithoutLength(200, std::string(30000, 'c')));
  ASSERT_EQ(Open("GET", Wide(server_.url("/close"))), S_OK);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_EQ(Body(), std::string(30000, 'c'));
  EXPECT_EQ(Headers(), "");
}

TEST_F(RequestObject, NoResponseWhenNothingListens) {
  int port = webtest::UnusedPort();
  ASSERT_EQ(Open("GET", Wide("http://127.0.0.1:" + std::to_string(port) + "/")), S_OK);
  EXPECT_EQ(Send(), WINHTTP_E_CANNOT_CONNECT);
  Value body;
  EXPECT_EQ(request_.get(u"ResponseBody", &body), WINHTTP_E_CANNOT_CALL_BEFORE_SEND);
  EXPECT_EQ((*body).vt, VT_EMPTY);
  Value headers;
  EXPECT_TRUE(FAILED(request_.get(u"GetAllResponseHeaders", &headers)));
  EXPECT_EQ((*headers).vt, VT_EMPTY);
}

TEST_F(RequestObject, ABodyCutShortIsAFailedSendWithoutResponse) {
  server_.on("/cut", webtest::ReplyCutShort(80000, std::string(50000, 'x')));
  ASSERT_EQ(Open("GET", Wide(server_.url("/cut"))), S_OK);
  EXPECT_EQ(Send(), WINHTTP_E_CONNECTION_ERROR);
  Value body;
  EXPECT_TRUE(FAILED(request_.get(u"ResponseBody", &body)));
  EXPECT_EQ((*body).vt, VT_EMPTY);
}

TEST_F(RequestObject, TheReceiveTimeoutEndsAStall) {
  server_.on("/stall", webtest::ReplyAfter(10s, webtest::Reply(200, "late")));
  ASSERT_EQ(request_.call(u"SetTimeouts",
                          {Value::Long(1000), Value::Long(1000), Value::Long(1000), Value::Long(1000)}),
            S_OK);
  ASSERT_EQ(Open("GET", Wide(server_.url("/stall"))), S_OK);
  Clock::time_point start = Clock::now();
  EXPECT_EQ(Send(), WINHTTP_E_TIMEOUT);
  auto took = Clock::now() - start;
  EXPECT_GE(took, 900ms);
  EXPECT_LT(took, 2500ms);
}

TEST_F(RequestObject, ATrickleOutlastingTheReceiveTimeoutStillArrives) {
  server_.on("/slow", webtest::Trickle("abcdefgh", 2, 250ms));
  ASSERT_EQ(
      request_.call(u"SetTimeouts", {Value::Long(0), Value::Long(1000), Value::Long(1000), Value::Long(600)}),
      S_OK);
  ASSERT_EQ(Open("GET", Wide(server_.url("/slow"))), S_OK);
  ASSERT_EQ(Send(), S_OK) << "the receive time-out limits silence, not the whole exchange";
  EXPECT_EQ(Body(), "abcdefgh");
}

TEST_F(RequestObject, TheSystemProxyCarriesRequestsForAnyHost) {
  server_.on("/search", webtest::Reply(200, "via proxy"));
  EnvironmentVariable proxy("http_proxy", server_.url().c_str());
  ASSERT_EQ(Open("GET", u"http://lyrics.example/search?key=a"), S_OK);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_EQ(Body(), "via proxy");
  webtest::RecordedRequest seen = OnlyRequest();
  EXPECT_EQ(seen.target, "http://lyrics.example/search?key=a");
  EXPECT_EQ(seen.header("Host"), "lyrics.example");
}

TEST_F(RequestObject, UpperCaseHttpProxyIsNotTrustedAndNoProxyBypasses) {
  int dead = webtest::UnusedPort();
  std::string deadProxy = "http://127.0.0.1:" + std::to_string(dead);
  {
    EnvironmentVariable upper("HTTP_PROXY", deadProxy.c_str());
    ASSERT_EQ(Open("GET", Wide(server_.url("/direct"))), S_OK);
    EXPECT_EQ(Send(), S_OK);
  }
  {
    EnvironmentVariable lower("http_proxy", deadProxy.c_str());
    EnvironmentVariable bypass("no_proxy", "localhost,127.0.0.1");
    ASSERT_EQ(Open("GET", Wide(server_.url("/bypassed"))), S_OK);
    EXPECT_EQ(Send(), S_OK);
  }
  EXPECT_EQ(server_.requests().size(), 2u);
}

TEST_F(RequestObject, SetProxyNamesTheProxyOrGoesDirect) {
  EnvironmentVariable elsewhere("http_proxy",
                                ("http://127.0.0.1:" + std::to_string(webtest::UnusedPort())).c_str());
  ASSERT_EQ(request_.call(u"SetProxy", {Value::Long(HTTPREQUEST_PROXYSETTING_PROXY),
                                        Value::Text(Wide("127.0.0.1:" + std::to_string(server_.port())))}),
            S_OK);
  ASSERT_EQ(Open("GET", u"http://music.example/page"), S_OK);
  ASSERT_EQ(Send(), S_OK);
  ASSERT_EQ(request_.call(u"SetProxy", {Value::Long(HTTPREQUEST_PROXYSETTING_DIRECT)}), S_OK);
  ASSERT_EQ(Open("GET", Wide(server_.url("/direct"))), S_OK);
  ASSERT_EQ(Send(), S_OK);
  std::vector<webtest::RecordedRequest> seen = server_.requests();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].target, "http://music.example/page");
  EXPECT_EQ(seen[1].target, "/direct");
}

TEST_F(RequestObject, ProxyCredentialsGoToTheProxy) {
  ASSERT_EQ(request_.call(u"SetProxy", {Value::Long(HTTPREQUEST_PROXYSETTING_PROXY),
                                        Value::Text(Wide("127.0.0.1:" + std::to_string(server_.port())))}),
            S_OK);
  ASSERT_EQ(request_.call(u"SetProxyCredentials", {Value::Text(u"user"), Value::Text(u"pw"), Value::Long(0)}),
            S_OK);
  ASSERT_EQ(Open("GET", u"http://music.example/page"), S_OK);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_EQ(OnlyRequest().header("Proxy-Authorization"), "Basic dXNlcjpwdw==");
}

TEST_F(RequestObject, ArgumentsArriveInReverseOrderInDispParams) {
  ASSERT_EQ(Open("GET", Wide(server_.url("/order"))), S_OK);
  DISPID id = 0;
  LPOLESTR name[] = {const_cast<LPOLESTR>(u"SetRequestHeader")};
  ASSERT_EQ(request_.object()->GetIDsOfNames(IID_NULL, name, 1, 0, &id), S_OK);
  Value headerValue = Value::Text(u"second");
  Value headerName = Value::Text(u"X-First");
  VARIANT args[2] = {*headerValue, *headerName}; // rgvarg[0] is the last argument
  DISPPARAMS params = {args, nullptr, 2, 0};
  ASSERT_EQ(request_.object()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            S_OK);
  ASSERT_EQ(Send(), S_OK);
  EXPECT_EQ(OnlyRequest().header("X-First"), "second");
}

TEST_F(RequestObject, BadArgumentsAreReportedNotThrown) {
  EXPECT_EQ(request_.call(u"Open", {Value::Text(u"GET")}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(
      request_.call(u"SetTimeouts", {Value::Text(u"x"), Value::Long(1), Value::Long(1), Value::Long(1)}),
      DISP_E_TYPEMISMATCH);
  EXPECT_EQ(request_.put(u"Status", {}, Value::Long(1)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(request_.put(u"Option", {Value::Long(99)}, Value::Bool(true)), E_INVALIDARG);
}

} // namespace
