// TextValue: an owned, NUL-terminated 8-bit text in code page 936.
//
// Null is the empty text and equals "" everywhere. A TextValue owns its heap
// block alone: copying copies the bytes, assigning releases what it held.
// A TextValue made from a literal refers to the literal, which releasing
// leaves alone (FreeBlock ignores static values).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

// A text argument that is only read: a literal, a TextValue or null.
class TextRef {
public:
  constexpr TextRef() = default;
  constexpr TextRef(const char* text) : text_(text) {}
  // Never null: "" for the empty text.
  const char* Bytes() const { return text_ ? text_ : ""; }
  const char* Pointer() const { return text_; }
  int32_t Length() const;
  bool IsEmpty() const { return !text_ || !*text_; }
  std::string_view View() const { return text_ ? std::string_view(text_) : std::string_view(); }

private:
  const char* text_ = nullptr;
};

class TextValue {
public:
  TextValue() = default;
  // Refers to a literal; nothing is copied or released.
  static TextValue Literal(const char* literal);
  // An owned block of exactly n + 1 bytes; null when n is 0.
  static TextValue Copy(const char* bytes, size_t n);
  static TextValue Copy(TextRef text) { return Copy(text.Bytes(), static_cast<size_t>(text.Length())); }
  // Takes over an owned, NUL-terminated block.
  static TextValue Adopt(char* block);
  // An owned block of n + 1 zero bytes for a caller to fill.
  static TextValue Allocate(size_t n);

  TextValue(const TextValue& other);
  TextValue(TextValue&& other) noexcept : text_(other.Release()) {}
  TextValue& operator=(const TextValue& other);
  TextValue& operator=(TextValue&& other) noexcept;
  ~TextValue();

  operator TextRef() const { return TextRef(text_); }
  TextRef Ref() const { return TextRef(text_); }
  const char* Bytes() const { return text_ ? text_ : ""; }
  const char* Pointer() const { return text_; }
  char* MutableBytes() { return text_; }
  int32_t Length() const { return Ref().Length(); }
  bool IsEmpty() const { return !text_ || !*text_; }
  bool IsNull() const { return text_ == nullptr; }
  std::string_view View() const { return Ref().View(); }
  // Gives up the block to the caller.
  char* Release();

private:
  explicit TextValue(char* text) : text_(text) {}
  char* text_ = nullptr;
};

// -1, 0 or 1 in the order of raw code page 936 bytes; null equals "".
int CompareText(TextRef a, TextRef b);
inline bool TextEquals(TextRef a, TextRef b) { return CompareText(a, b) == 0; }
int32_t TextLength(TextRef text);
// Always allocates: empty inputs give an allocated "".
TextValue ConcatTexts(std::initializer_list<TextRef> texts);
