// InternetCrackUrlA: a URL's components into the caller's record.
#include "kernel32/last_error.h"
#include "wininet/internet_handles.h"
#include "wininet/url_parts.h"

#include <cstring>

namespace {

// Fills one pointer-and-length pair of the record by its rules (see url.h).
// False when the caller's buffer is too small; its length then holds the
// size needed, terminator included.
bool FillComponent(LPCSTR url, UrlSpan span, LPSTR* text, DWORD* length) {
  if (*length == 0)
    return true;
  if (!*text) {
    *text = span.present ? const_cast<LPSTR>(url + span.at) : nullptr;
    *length = static_cast<DWORD>(span.length);
    return true;
  }
  if (*length < span.length + 1) {
    *length = static_cast<DWORD>(span.length + 1);
    return false;
  }
  std::memcpy(*text, url + span.at, span.length);
  (*text)[span.length] = 0;
  *length = static_cast<DWORD>(span.length);
  return true;
}

} // namespace

BOOL InternetCrackUrlA(LPCSTR url, DWORD length, DWORD flags, URL_COMPONENTSA* c) {
  if (!url || !c || c->dwStructSize != sizeof(URL_COMPONENTSA) || flags != 0)
    return Fail(ERROR_INVALID_PARAMETER);
  std::string_view text(url, length ? length : std::strlen(url));
  UrlParts parts;
  switch (SplitUrlText(text, &parts)) {
  case UrlSplit::NoScheme:
    return Fail(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  case UrlSplit::Invalid:
    return Fail(ERROR_INTERNET_INVALID_URL);
  case UrlSplit::Ok:
    break;
  }
  UrlSpan path = parts.path;
  if (c->dwExtraInfoLength == 0)
    path.length += parts.extra.length; // the extra info stays with the path
  c->nScheme = parts.schemeNumber;
  c->nPort = parts.portNumber;
  bool fits = true;
  fits &= FillComponent(url, parts.scheme, &c->lpszScheme, &c->dwSchemeLength);
  fits &= FillComponent(url, parts.host, &c->lpszHostName, &c->dwHostNameLength);
  fits &= FillComponent(url, parts.user, &c->lpszUserName, &c->dwUserNameLength);
  fits &= FillComponent(url, parts.password, &c->lpszPassword, &c->dwPasswordLength);
  fits &= FillComponent(url, path, &c->lpszUrlPath, &c->dwUrlPathLength);
  fits &= FillComponent(url, parts.extra, &c->lpszExtraInfo, &c->dwExtraInfoLength);
  return fits ? TRUE : Fail(ERROR_INSUFFICIENT_BUFFER);
}
