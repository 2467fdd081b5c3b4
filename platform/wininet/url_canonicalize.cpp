// InternetCanonicalizeUrlA: dot segments resolved, unsafe bytes escaped.
#include "kernel32/last_error.h"
#include "wininet/internet_handles.h"
#include "wininet/url_parts.h"

#include <cstring>
#include <string>

namespace {

// RFC 3986 section 5.2.4.
std::string RemoveDotSegments(std::string in) {
  std::string out;
  while (!in.empty()) {
    if (in.starts_with("../")) {
      in.erase(0, 3);
    } else if (in.starts_with("./")) {
      in.erase(0, 2);
    } else if (in.starts_with("/./")) {
      in.erase(0, 2);
    } else if (in == "/.") {
      in = "/";
    } else if (in.starts_with("/../") || in == "/..") {
      in = in.size() == 3 ? "/" : in.substr(3);
      size_t slash = out.rfind('/');
      out.erase(slash == std::string::npos ? 0 : slash);
    } else if (in == "." || in == "..") {
      in.clear();
    } else {
      size_t next = in.find('/', 1);
      if (next == std::string::npos)
        next = in.size();
      out += in.substr(0, next);
      in.erase(0, next);
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::string Decode(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

bool IsUnsafe(unsigned char b) { return b <= 0x20 || b >= 0x7F || b == '"' || b == '<' || b == '>'; }

std::string Encode(std::string_view text, bool spacesOnly) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (spacesOnly ? b != ' ' : !IsUnsafe(b)) {
      out.push_back(c);
      continue;
    }
    out.push_back('%');
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 0xF]);
  }
  return out;
}

std::string Canonical(std::string_view url, DWORD flags) {
  UrlParts parts;
  std::string prefix;
  std::string rest(url);
  if (SplitUrlText(url, &parts) == UrlSplit::Ok && parts.hierarchical) {
    prefix = std::string(url.substr(0, parts.path.at));
    std::string path(url.substr(parts.path.at, parts.path.length));
    if (!(flags & ICU_NO_META))
      path = RemoveDotSegments(path);
    if (path.empty())
      path = "/";
    rest = path + std::string(url.substr(parts.extra.at, parts.extra.length));
  }
  if (flags & ICU_DECODE)
    rest = Decode(rest);
  if (!(flags & ICU_NO_ENCODE))
    rest = Encode(rest, flags & ICU_ENCODE_SPACES_ONLY);
  return prefix + rest;
}

} // namespace

BOOL InternetCanonicalizeUrlA(LPCSTR url, LPSTR buffer, DWORD* length, DWORD flags) {
  return GuardedBool([&]() -> BOOL {
    if (!url || !length)
      return Fail(ERROR_INVALID_PARAMETER);
    std::string canonical = Canonical(url, flags);
    DWORD needed = static_cast<DWORD>(canonical.size() + 1);
    if (!buffer || *length < needed) {
      *length = needed;
      return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, canonical.c_str(), needed);
    *length = needed - 1;
    return TRUE;
  });
}
