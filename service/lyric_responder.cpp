#include "service/lyric_responder.h"

#include "service/request_target.h"
#include "service/result_page.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

namespace lyric_service {

namespace {

constexpr std::string_view kSearchPath = "/search/lrc";
constexpr std::string_view kLyricPrefix = "/lrc/";
constexpr std::string_view kLyricSuffix = ".lrc";

Reply NotFound() { return {404, std::string(kHtmlType), ErrorPage(404, "Not Found")}; }

// The number in "/lrc/ID.lrc". One spelling per file: no sign, no leading zero.
std::optional<unsigned> LyricId(std::string_view path) {
  if (!path.starts_with(kLyricPrefix) || !path.ends_with(kLyricSuffix))
    return std::nullopt;
  std::string_view digits = path.substr(kLyricPrefix.size());
  if (digits.size() < kLyricSuffix.size())
    return std::nullopt;
  digits.remove_suffix(kLyricSuffix.size());
  if (digits.empty() || digits[0] == '0')
    return std::nullopt;
  unsigned id = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
  if (error != std::errc() || end != digits.data() + digits.size())
    return std::nullopt;
  return id;
}

std::optional<std::string> FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad())
    return std::nullopt;
  return bytes;
}

Reply LyricFile(const LyricLibrary& library, unsigned id) {
  const LyricEntry* entry = library.Find(id);
  if (entry == nullptr)
    return NotFound();
  std::optional<std::string> bytes = FileBytes(entry->file);
  if (!bytes)
    return NotFound();
  return {200, std::string(kLyricType), std::move(*bytes)};
}

Reply Search(const LyricLibrary& library, std::string_view query) {
  const std::string key = SearchKey(query).value_or("");
  return {200, std::string(kHtmlType), ResultPage(key, library.Search(key))};
}

} // namespace

Reply Answer(const LyricLibrary& library, std::string_view target) {
  const RequestTarget parsed = ParseRequestTarget(target);
  if (parsed.path == kSearchPath)
    return Search(library, parsed.query);
  if (std::optional<unsigned> id = LyricId(parsed.path))
    return LyricFile(library, *id);
  return NotFound();
}

} // namespace lyric_service
