// The ICU converters behind the code page functions (internal to libkernel32).
//
// Code page 936 is ICU's "windows-936-2000", the table Windows itself uses:
// 0x80 is the euro sign, 0xFF is U+F8F5, the user-defined areas map into
// the private use area, and best-fit mappings (an A with grave accent
// becomes the GBK a with grave) apply from UTF-16 as Windows applies them.
// Each thread owns its converters, so no call waits for another thread.
#pragma once

#include <cstddef>
#include <string_view>

enum class CodePageKind { Utf8, Gbk };

enum class ConversionStatus { Ok, BufferTooSmall, Invalid, Failed };

struct ConversionResult {
  ConversionStatus status = ConversionStatus::Ok;
  size_t count = 0; // units or bytes written, or needed when measuring
  bool usedDefault = false;
};

// What an invalid sequence becomes: U+FFFD per maximal subpart in UTF-8;
// for code page 936, whose every lead and trail byte pair is mapped, a lead
// byte without a valid trail byte (or at the end of the input) becomes
// U+30FB, the code page's default Unicode character, and the byte after it
// is read on its own.
constexpr char16_t kUtf8Replacement = 0xFFFD;
constexpr char16_t kGbkReplacement = 0x30FB;

// Decodes all `length` bytes. A capacity of 0 only counts. With `strict`,
// an invalid sequence ends the conversion with ConversionStatus::Invalid.
ConversionResult DecodeBytes(CodePageKind kind, bool strict, const char* in, size_t length, char16_t* out,
                             size_t capacity);

// Encodes all `length` units. A character the code page lacks becomes
// `substitute` (once per UTF-16 unit, so a supplementary character becomes
// two); in UTF-8 only lone surrogates are unmappable and become EF BF BD.
// With `strict` they end the conversion instead; without `bestFit` no
// best-fit mapping is used.
ConversionResult EncodeUnits(CodePageKind kind, bool strict, bool bestFit, std::string_view substitute,
                             const char16_t* in, size_t length, char* out, size_t capacity);
