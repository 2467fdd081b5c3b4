#include "web/page_request.h"

#include "engine/text_between.h"
#include "ole32/com_init.h"
#include "runtime/find_text.h"
#include "runtime/replace_text.h"
#include "runtime/split_text.h"
#include "runtime/text_commands.h"
#include "web/automation_object.h"
#include "web/cookie_text.h"
#include "web/header_line.h"

#include <cmath>

PageProxySettings PageProxy;

namespace {

constexpr int32_t kDefaultTimeoutMs = 15000;
constexpr int32_t kEnableRedirects = 6;

// Undoes the thread's component runtime initialisation on every way out.
struct ComponentRuntimeScope {
  ComponentRuntimeScope() { CoInitialize(nullptr); }
  ~ComponentRuntimeScope() { CoUninitialize(); }
  ComponentRuntimeScope(const ComponentRuntimeScope&) = delete;
  ComponentRuntimeScope& operator=(const ComponentRuntimeScope&) = delete;
};

TextValue DefaultHeaders(TextRef url) {
  return ConcatTexts({"Referer: ", url,
                      "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nUser-Agent: Mozilla/5.0 (compatible; MSIE 9.0; "
                      "Windows NT 6.1; Trident/5.0)\r\nContent-Type: application/x-www-form-urlencoded"});
}

void SetTimeouts(AutomationObject& request, int32_t timeoutSeconds) {
  if (timeoutSeconds == -1)
    return;
  int32_t t = timeoutSeconds <= 0 ? kDefaultTimeoutMs : static_cast<int32_t>(std::trunc(timeoutSeconds * 1000.0));
  request.CallMethod("SetTimeouts", {AutomationArg::Integer(t), AutomationArg::Integer(t), AutomationArg::Integer(t),
                                     AutomationArg::Integer(t)});
}

void SetProxy(AutomationObject& request) {
  if (PageProxy.server.IsEmpty())
    return;
  request.CallMethod("SetProxy", {AutomationArg::Integer(2), AutomationArg::Text(PageProxy.server)});
  if (!PageProxy.userName.IsEmpty())
    request.CallMethod("SetProxyCredentials", {AutomationArg::Text(PageProxy.userName),
                                               AutomationArg::Text(PageProxy.password),
                                               AutomationArg::Integer(PageProxy.credentialFlags)});
}

void SetHeaderLine(AutomationObject& request, TextRef line) {
  request.CallMethod("SetRequestHeader", {AutomationArg::Text(HeaderName(line)), AutomationArg::Text(HeaderValue(line))});
}

void SetHeaders(AutomationObject& request, TextRef cookies, TextRef headers) {
  if (!cookies.IsEmpty())
    request.CallMethod("SetRequestHeader", {AutomationArg::Text("Cookie"), AutomationArg::Text(cookies)});
  if (FindText(headers, "\r\n") == -1) {
    SetHeaderLine(request, headers);
    return;
  }
  TextArray lines = SplitText(headers, TextRef("\r\n"));
  for (int32_t i = 1; i <= lines.Count(); i++) {
    if (!lines.At(i).IsEmpty())
      SetHeaderLine(request, lines.At(i));
  }
}

void Send(AutomationObject& request, TextRef postText, ByteRef postBytes) {
  if (postBytes.Length() > 0)
    request.CallMethod("Send", {AutomationArg::BytesByReference(postBytes)});
  else
    request.CallMethod("Send", {AutomationArg::Text(postText)});
}

// The Location and Set-Cookie lines of the response.
void ReadResponseLines(TextRef responseHeaders, TextValue& redirectTo, TextValue& returnedCookies) {
  returnedCookies = TextValue::Copy("", 0);
  TextArray lines = SplitText(responseHeaders, TextRef("\r\n"));
  for (int32_t i = 1; i <= lines.Count(); i++) {
    TextRef line = lines.At(i);
    if (FindText(line, "Location:") != -1)
      redirectTo = TrimText(ReplaceText(line, "Location:", std::nullopt, std::nullopt, 1, false));
    if (FindText(line, "Set-Cookie") != -1) {
      TextValue item = TrimText(TextBetween(line, "Set-Cookie:", ";"));
      returnedCookies = ConcatTexts({returnedCookies, item, "; "});
    }
  }
}

} // namespace

ByteSet PageRequest(TextRef url, TextValue& method, TextRef postText, TextValue& cookies, TextValue& returnedCookies,
                    TextValue& headers, TextValue& redirectTo, bool noRedirect, int32_t timeoutSeconds,
                    TextValue& responseHeaders, ByteRef postBytes) {
  ComponentRuntimeScope runtime;
  AutomationObject request = AutomationObject::Create("WinHttp.WinHttpRequest.5.1");
  if (!request.IsValid())
    return {};

  method = UpperText(method);
  if (method.IsEmpty())
    method = TextValue::Copy("GET");
  SetTimeouts(request, timeoutSeconds);
  SetProxy(request);
  request.CallMethod("Open", {AutomationArg::Text(method), AutomationArg::Text(url), AutomationArg::Logical(false)});
  if (noRedirect)
    request.PutIndexed("Option", kEnableRedirects, AutomationArg::Logical(false));
  if (headers.IsEmpty())
    headers = DefaultHeaders(url);
  SetHeaders(request, cookies, headers);
  Send(request, postText, postBytes);

  ByteSet body = request.GetBytes("ResponseBody");
  responseHeaders = request.GetText("GetallResponseHeaders");
  ReadResponseLines(responseHeaders, redirectTo, returnedCookies);
  MergeCookies(cookies, returnedCookies);
  if (redirectTo.IsEmpty())
    redirectTo = TextValue::Copy(responseHeaders);
  return body;
}
