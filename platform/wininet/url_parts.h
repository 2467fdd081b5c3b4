// Inside wininet: where the components of a URL lie in its text.
//
//   scheme ":" [ "//" [ user [ ":" password ] "@" ] host [ ":" port ] ] path [ "?" query ] [ "#" fragment ]
// The extra info is the query and the fragment together, from the first
// "?" or "#" after the authority.
#pragma once

#include "wininet/url.h"

#include <string_view>

struct UrlSpan {
  size_t at = 0;
  size_t length = 0;
  bool present = false;
};

struct UrlParts {
  UrlSpan scheme;
  bool hierarchical = false; // "//" follows the scheme
  UrlSpan user, password, host, port;
  UrlSpan path;  // up to the extra info
  UrlSpan extra; // "?..." and "#..."
  INTERNET_SCHEME schemeNumber = INTERNET_SCHEME_UNKNOWN;
  INTERNET_PORT portNumber = 0; // the given port, or the scheme's default
};

enum class UrlSplit { Ok, NoScheme, Invalid };

UrlSplit SplitUrlText(std::string_view url, UrlParts* parts);
