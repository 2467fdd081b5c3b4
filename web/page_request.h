// One HTTP request through the system's HTTP request automation object
// ("WinHttp.WinHttpRequest.5.1"), returning the raw response body.
//
// Around the one request it keeps a caller's cookie text (sent, then merged
// with the cookies the response sets), request header lines with a
// browser-like default block, the response headers, the redirect target, a
// switch that stops automatic redirects, a time-out, and the process-wide
// proxy settings. Nothing is reported: a failure gives the empty body.
#pragma once

#include "runtime/byte_set.h"
#include "runtime/text_value.h"

#include <cstdint>

// Process-wide proxy settings every request reads. They start empty and
// nothing in the system sets them.
struct PageProxySettings {
  TextValue server;
  TextValue userName;
  TextValue password;
  int32_t credentialFlags = 0;
};
extern PageProxySettings PageProxy;

// The variables passed by reference are read and written back as described:
// `method` is upper-cased ("GET" when empty); `cookies` is sent and replaced
// by the merged cookie text; `returnedCookies` gets the response's cookies in
// compact form; `headers` (lines separated by CR LF) gets the default block
// when empty; `redirectTo` gets the last Location of the response, or keeps
// a non-empty value passed in, or else the whole response header text;
// `responseHeaders` gets the response's header lines. `timeoutSeconds` -1
// keeps the object's own time-outs, 0 or less means 15 seconds. `postBytes`,
// when not empty, is sent instead of `postText`. If the object cannot be
// created, no variable changes and the result is empty.
ByteSet PageRequest(TextRef url, TextValue& method, TextRef postText, TextValue& cookies, TextValue& returnedCookies,
                    TextValue& headers, TextValue& redirectTo, bool noRedirect, int32_t timeoutSeconds,
                    TextValue& responseHeaders, ByteRef postBytes);
