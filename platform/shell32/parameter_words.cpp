#include "shell32/parameter_words.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::vector<std::string> SplitParameterWords(std::string_view parameters) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  bool quoted = false;
  for (char c : parameters) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if (IsBlank(c) && !quoted) {
      if (in_word)
        words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word)
    words.push_back(std::move(word));
  return words;
}
