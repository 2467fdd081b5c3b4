#include "service/request_target.h"

namespace lyric_service {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The length of "scheme://" at the start of `target`, or 0 when it does not start with one.
size_t SchemePrefixLength(std::string_view target) {
  size_t colon = target.find("://");
  if (colon == std::string_view::npos || colon == 0 || !IsAsciiAlpha(target[0]))
    return 0;
  for (char c : target.substr(0, colon)) {
    if (!IsAsciiAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
      return 0;
  }
  return colon + 3;
}

// What is left of an absolute-form target once scheme and authority are cut off.
std::string_view StripAbsoluteForm(std::string_view target) {
  size_t scheme = SchemePrefixLength(target);
  if (scheme == 0)
    return target;
  size_t path = target.find_first_of("/?", scheme);
  return path == std::string_view::npos ? std::string_view() : target.substr(path);
}

} // namespace

std::string PercentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

RequestTarget ParseRequestTarget(std::string_view target) {
  std::string_view rest = StripAbsoluteForm(target);
  size_t question = rest.find('?');
  std::string_view path = rest.substr(0, question);
  RequestTarget parsed;
  parsed.path = path.empty() ? std::string("/") : PercentDecode(path);
  if (question != std::string_view::npos)
    parsed.query = std::string(rest.substr(question + 1));
  return parsed;
}

std::optional<std::string> SearchKey(std::string_view query) {
  constexpr std::string_view kName = "key=";
  for (size_t start = 0; start <= query.size();) {
    if (query.substr(start, kName.size()) == kName)
      return PercentDecode(query.substr(start + kName.size()));
    size_t amp = query.find('&', start);
    if (amp == std::string_view::npos)
      break;
    start = amp + 1;
  }
  return std::nullopt;
}

} // namespace lyric_service
