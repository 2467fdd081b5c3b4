#include "wininet/request_headers.h"

#include "winhttp/transfer/ascii_text.h"

#include <algorithm>

namespace {

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

void RequestHeaders::set(std::string_view name, std::string_view value) {
  for (auto& [setName, setValue] : headers_) {
    if (SameAsciiText(setName, name)) {
      setValue = value;
      return;
    }
  }
  headers_.emplace_back(name, value);
}

void RequestHeaders::addText(std::string_view text) {
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    size_t colon = line.find(':');
    if (line.empty() || colon == std::string_view::npos)
      continue;
    std::string_view name = Trim(line.substr(0, colon));
    if (!name.empty())
      set(name, Trim(line.substr(colon + 1)));
  }
}

std::vector<std::string> RequestHeaders::lines() const {
  std::vector<std::string> out;
  for (const auto& [name, value] : headers_)
    out.push_back(name + ": " + value);
  return out;
}

std::string AcceptValue(const std::vector<std::string>& types) {
  std::vector<std::string> values;
  for (const std::string& entry : types) {
    std::string_view type = Trim(entry);
    if (type.size() >= 7 && SameAsciiText(type.substr(0, 7), "Accept:"))
      type = Trim(type.substr(7));
    if (!type.empty() && std::find(values.begin(), values.end(), type) == values.end())
      values.emplace_back(type);
  }
  std::string joined;
  for (const std::string& v : values)
    joined += (joined.empty() ? "" : ", ") + v;
  return joined;
}
