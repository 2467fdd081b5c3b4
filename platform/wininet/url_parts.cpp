#include "wininet/url_parts.h"

namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SchemeIs(std::string_view scheme, std::string_view name) {
  if (scheme.size() != name.size())
    return false;
  for (size_t i = 0; i < name.size(); i++) {
    if (Lower(scheme[i]) != name[i])
      return false;
  }
  return true;
}

struct KnownScheme {
  const char* name;
  INTERNET_SCHEME number;
  INTERNET_PORT port;
};

constexpr KnownScheme kSchemes[] = {
    {"ftp", INTERNET_SCHEME_FTP, 21},      {"gopher", INTERNET_SCHEME_GOPHER, 70},
    {"http", INTERNET_SCHEME_HTTP, 80},    {"https", INTERNET_SCHEME_HTTPS, 443},
    {"file", INTERNET_SCHEME_FILE, 0},     {"news", INTERNET_SCHEME_NEWS, 0},
    {"mailto", INTERNET_SCHEME_MAILTO, 0},
};

UrlSpan Span(size_t at, size_t end) { return {at, end - at, true}; }

// scheme = ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ), then ":".
size_t SchemeEnd(std::string_view url) {
  if (url.empty() || !IsAlpha(url[0]))
    return std::string_view::npos;
  for (size_t i = 1; i < url.size(); i++) {
    char c = url[i];
    if (c == ':')
      return i;
    if (!IsAlpha(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.')
      return std::string_view::npos;
  }
  return std::string_view::npos;
}

bool SplitAuthority(std::string_view url, size_t at, size_t end, UrlParts* parts) {
  size_t userEnd = url.substr(0, end).rfind('@');
  if (userEnd != std::string_view::npos && userEnd >= at) {
    size_t colon = url.substr(0, userEnd).find(':', at);
    if (colon != std::string_view::npos) {
      parts->user = Span(at, colon);
      parts->password = Span(colon + 1, userEnd);
    } else {
      parts->user = Span(at, userEnd);
    }
    at = userEnd + 1;
  }
  size_t hostEnd = end;
  if (at < end && url[at] == '[') {
    size_t close = url.substr(0, end).find(']', at);
    if (close == std::string_view::npos)
      return false;
    hostEnd = close + 1;
    if (hostEnd < end && url[hostEnd] != ':')
      return false;
  } else {
    size_t colon = url.substr(0, end).rfind(':');
    if (colon != std::string_view::npos && colon >= at)
      hostEnd = colon;
  }
  parts->host = Span(at, hostEnd);
  if (hostEnd < end) {
    parts->port = Span(hostEnd + 1, end);
    std::string_view digits = url.substr(hostEnd + 1, end - hostEnd - 1);
    if (!digits.empty()) {
      unsigned value = 0;
      for (char c : digits) {
        if (!IsDigit(c) || (value = value * 10 + static_cast<unsigned>(c - '0')) > 65535)
          return false;
      }
      if (value == 0)
        return false;
      parts->portNumber = static_cast<INTERNET_PORT>(value);
    }
  }
  return true;
}

} // namespace

UrlSplit SplitUrlText(std::string_view url, UrlParts* parts) {
  *parts = UrlParts();
  size_t schemeEnd = SchemeEnd(url);
  if (schemeEnd == std::string_view::npos)
    return UrlSplit::NoScheme;
  parts->scheme = Span(0, schemeEnd);
  std::string_view scheme = url.substr(0, schemeEnd);
  for (const KnownScheme& known : kSchemes) {
    if (SchemeIs(scheme, known.name)) {
      parts->schemeNumber = known.number;
      parts->portNumber = known.port;
    }
  }
  size_t at = schemeEnd + 1;
  parts->hierarchical = url.substr(at, 2) == "//";
  if (!parts->hierarchical) {
    bool needsAuthority = parts->schemeNumber == INTERNET_SCHEME_HTTP ||
                          parts->schemeNumber == INTERNET_SCHEME_HTTPS ||
                          parts->schemeNumber == INTERNET_SCHEME_FTP;
    if (needsAuthority)
      return UrlSplit::Invalid;
  } else {
    at += 2;
    size_t authorityEnd = url.find_first_of("/?#", at);
    if (authorityEnd == std::string_view::npos)
      authorityEnd = url.size();
    if (!SplitAuthority(url, at, authorityEnd, parts))
      return UrlSplit::Invalid;
    at = authorityEnd;
  }
  size_t extra = url.find_first_of("?#", at);
  if (extra == std::string_view::npos)
    extra = url.size();
  parts->path = Span(at, extra);
  parts->extra = Span(extra, url.size());
  return UrlSplit::Ok;
}
