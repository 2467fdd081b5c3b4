#include "winhttp/transfer/url_escape.h"

std::string PercentEncodeUnsafe(std::string_view text, bool highBytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    bool unsafe = byte <= 0x20 || byte == 0x7F || (highBytes && byte >= 0x80);
    if (!unsafe) {
      out.push_back(c);
      continue;
    }
    out.push_back('%');
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0xF]);
  }
  return out;
}
