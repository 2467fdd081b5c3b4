#include "service/lyric_library.h"

#include <algorithm>
#include <system_error>

namespace lyric_service {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLyricSuffix = ".lrc";

std::string FoldAscii(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

// "x.lrc" and "x.LRC" are lyric files named x; ".lrc" alone names nothing, and an empty title
// would be contained in every key.
std::optional<std::string> LyricTitle(const fs::path& file) {
  std::string name = file.filename().string();
  if (name.size() <= kLyricSuffix.size())
    return std::nullopt;
  std::string_view suffix = std::string_view(name).substr(name.size() - kLyricSuffix.size());
  if (FoldAscii(suffix) != kLyricSuffix)
    return std::nullopt;
  name.resize(name.size() - kLyricSuffix.size());
  return name;
}

bool IsInside(const fs::path& folder, const fs::path& file) {
  auto [f, p] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
  return f == folder.end() && p != file.end();
}

// The file whose bytes an entry serves, or nothing when the entry is not a regular file inside
// the folder.
std::optional<fs::path> ServedFile(const fs::path& root, const fs::directory_entry& entry) {
  std::error_code ec;
  if (!entry.is_symlink(ec))
    return entry.is_regular_file(ec) ? std::optional(entry.path()) : std::nullopt;
  fs::path target = fs::canonical(entry.path(), ec);
  if (ec || !IsInside(root, target) || !fs::is_regular_file(target, ec))
    return std::nullopt;
  return target;
}

} // namespace

LibraryRead LyricLibrary::Read(const fs::path& folder) {
  std::error_code ec;
  fs::path root = fs::canonical(folder, ec);
  if (ec)
    return {std::nullopt, "cannot open lyric library " + folder.string() + ": " + ec.message()};
  if (!fs::is_directory(root, ec))
    return {std::nullopt, "lyric library " + folder.string() + " is not a folder"};

  std::vector<LyricEntry> entries;
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::optional<std::string> title = LyricTitle(it->path());
    if (!title)
      continue;
    std::optional<fs::path> file = ServedFile(root, *it);
    if (file)
      entries.push_back({0, std::move(*title), it->path().lexically_relative(root), std::move(*file)});
  }
  if (ec)
    return {std::nullopt, "cannot read lyric library " + folder.string() + ": " + ec.message()};

  std::sort(entries.begin(), entries.end(), [](const LyricEntry& a, const LyricEntry& b) {
    return a.relative.native() < b.relative.native();
  });
  for (size_t i = 0; i < entries.size(); i++)
    entries[i].id = static_cast<unsigned>(i + 1);
  return {LyricLibrary(std::move(entries)), ""};
}

const LyricEntry* LyricLibrary::Find(unsigned id) const {
  if (id == 0 || id > entries_.size())
    return nullptr;
  return &entries_[id - 1];
}

std::vector<const LyricEntry*> LyricLibrary::Search(std::string_view key) const {
  std::vector<const LyricEntry*> hits;
  if (key.empty())
    return hits;
  const std::string folded_key = FoldAscii(key);
  struct Hit {
    bool exact;
    const LyricEntry* entry;
  };
  std::vector<Hit> found;
  for (const LyricEntry& entry : entries_) {
    const std::string title = FoldAscii(entry.title);
    if (title.find(folded_key) != std::string::npos || folded_key.find(title) != std::string::npos)
      found.push_back({title == folded_key, &entry});
  }
  std::stable_sort(found.begin(), found.end(), [](const Hit& a, const Hit& b) {
    if (a.exact != b.exact)
      return a.exact;
    return a.entry->title < b.entry->title;
  });
  for (const Hit& hit : found)
    hits.push_back(hit.entry);
  return hits;
}

} // namespace lyric_service
