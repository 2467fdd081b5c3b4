#include "runtime/text_value.h"

#include "runtime/block.h"

#include <cstring>

int32_t TextRef::Length() const { return text_ ? static_cast<int32_t>(std::strlen(text_)) : 0; }

TextValue TextValue::Literal(const char* literal) { return TextValue(const_cast<char*>(literal)); }

TextValue TextValue::Copy(const char* bytes, size_t n) {
  if (n == 0)
    return {};
  TextValue text = Allocate(n);
  std::memcpy(text.text_, bytes, n);
  return text;
}

TextValue TextValue::Adopt(char* block) { return TextValue(block); }

TextValue TextValue::Allocate(size_t n) { return TextValue(static_cast<char*>(AllocBlock(n + 1))); }

TextValue::TextValue(const TextValue& other) : text_(Copy(other.Ref()).Release()) {}

TextValue& TextValue::operator=(const TextValue& other) {
  if (this != &other)
    *this = Copy(other.Ref());
  return *this;
}

TextValue& TextValue::operator=(TextValue&& other) noexcept {
  if (this != &other) {
    FreeBlock(text_);
    text_ = other.Release();
  }
  return *this;
}

TextValue::~TextValue() { FreeBlock(text_); }

char* TextValue::Release() {
  char* text = text_;
  text_ = nullptr;
  return text;
}

int CompareText(TextRef a, TextRef b) {
  if (!a.Pointer())
    return b.IsEmpty() ? 0 : -1;
  if (!b.Pointer())
    return a.IsEmpty() ? 0 : 1;
  auto* x = reinterpret_cast<const unsigned char*>(a.Pointer());
  auto* y = reinterpret_cast<const unsigned char*>(b.Pointer());
  for (;; x++, y++) {
    if (*x != *y)
      return *x < *y ? -1 : 1;
    if (!*x)
      return 0;
  }
}

int32_t TextLength(TextRef text) { return text.Length(); }

TextValue ConcatTexts(std::initializer_list<TextRef> texts) {
  size_t total = 0;
  for (TextRef t : texts)
    total += static_cast<size_t>(t.Length());
  TextValue result = TextValue::Allocate(total);
  char* at = result.MutableBytes();
  for (TextRef t : texts) {
    size_t n = static_cast<size_t>(t.Length());
    std::memcpy(at, t.Bytes(), n);
    at += n;
  }
  return result;
}
