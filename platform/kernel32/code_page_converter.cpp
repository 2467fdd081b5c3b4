#include "kernel32/code_page_converter.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <memory>

namespace {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter Open(const char* name) {
  UErrorCode error = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &error));
  return U_SUCCESS(error) ? std::move(converter) : Converter();
}

// ICU converters carry state between calls, so each thread has its own.
UConverter* ThreadConverter(CodePageKind kind) {
  thread_local Converter utf8 = Open("UTF-8");
  thread_local Converter gbk = Open("windows-936-2000");
  return kind == CodePageKind::Utf8 ? utf8.get() : gbk.get();
}

bool IsConversionError(UConverterCallbackReason reason) { return reason <= UCNV_IRREGULAR; }

struct DecodeContext {
  char16_t replacement;
  bool strict;
};

void ReplaceInvalidBytes(const void* context, UConverterToUnicodeArgs* args, const char*, int32_t,
                         UConverterCallbackReason reason, UErrorCode* error) {
  const auto* decode = static_cast<const DecodeContext*>(context);
  if (!IsConversionError(reason) || decode->strict)
    return;
  *error = U_ZERO_ERROR;
  UChar replacement = decode->replacement;
  ucnv_cbToUWriteUChars(args, &replacement, 1, 0, error);
}

struct EncodeContext {
  std::string_view substitute;
  bool strict;
  bool used = false;
};

void SubstituteUnmappable(const void* context, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                          UChar32 codePoint, UConverterCallbackReason reason, UErrorCode* error) {
  auto* encode = static_cast<EncodeContext*>(const_cast<void*>(context));
  if (!IsConversionError(reason) || encode->strict)
    return;
  encode->used = true;
  *error = U_ZERO_ERROR;
  // Windows maps each UTF-16 unit through the code page's table on its own.
  int copies = codePoint > 0xFFFF ? 2 : 1;
  for (int i = 0; i < copies && U_SUCCESS(*error); i++)
    ucnv_cbFromUWriteBytes(args, encode->substitute.data(), static_cast<int32_t>(encode->substitute.size()),
                           0, error);
}

ConversionStatus StatusOf(UErrorCode error) {
  if (U_SUCCESS(error))
    return ConversionStatus::Ok;
  if (error == U_BUFFER_OVERFLOW_ERROR)
    return ConversionStatus::BufferTooSmall;
  if (error == U_INVALID_CHAR_FOUND || error == U_ILLEGAL_CHAR_FOUND || error == U_TRUNCATED_CHAR_FOUND)
    return ConversionStatus::Invalid;
  return ConversionStatus::Failed;
}

// Runs one whole conversion; `step` advances through the input into the
// target range it is given. Measuring runs it into a scratch buffer again
// and again, counting what each round produced.
template <typename Unit, typename Step> ConversionResult Run(Unit* out, size_t capacity, Step step) {
  ConversionResult result;
  UErrorCode error = U_ZERO_ERROR;
  if (capacity > 0) {
    Unit* target = out;
    step(&target, out + capacity, &error);
    result.count = static_cast<size_t>(target - out);
  } else {
    Unit scratch[4096];
    do {
      error = U_ZERO_ERROR;
      Unit* target = scratch;
      step(&target, scratch + std::size(scratch), &error);
      result.count += static_cast<size_t>(target - scratch);
    } while (error == U_BUFFER_OVERFLOW_ERROR);
  }
  result.status = StatusOf(error);
  return result;
}

} // namespace

ConversionResult DecodeBytes(CodePageKind kind, bool strict, const char* in, size_t length, char16_t* out,
                             size_t capacity) {
  UConverter* converter = ThreadConverter(kind);
  if (!converter)
    return {ConversionStatus::Failed};
  DecodeContext context{kind == CodePageKind::Utf8 ? kUtf8Replacement : kGbkReplacement, strict};
  UErrorCode error = U_ZERO_ERROR;
  ucnv_resetToUnicode(converter);
  ucnv_setToUCallBack(converter, ReplaceInvalidBytes, &context, nullptr, nullptr, &error);
  const char* source = in;
  const char* source_end = in + length;
  return Run(reinterpret_cast<UChar*>(out), capacity, [&](UChar** target, UChar* limit, UErrorCode* e) {
    ucnv_toUnicode(converter, target, limit, &source, source_end, nullptr, true, e);
  });
}

ConversionResult EncodeUnits(CodePageKind kind, bool strict, bool bestFit, std::string_view substitute,
                             const char16_t* in, size_t length, char* out, size_t capacity) {
  UConverter* converter = ThreadConverter(kind);
  if (!converter)
    return {ConversionStatus::Failed};
  EncodeContext context{kind == CodePageKind::Utf8 ? std::string_view("\xEF\xBF\xBD") : substitute, strict};
  UErrorCode error = U_ZERO_ERROR;
  ucnv_resetFromUnicode(converter);
  ucnv_setFallback(converter, bestFit);
  ucnv_setFromUCallBack(converter, SubstituteUnmappable, &context, nullptr, nullptr, &error);
  const UChar* source = reinterpret_cast<const UChar*>(in);
  const UChar* source_end = source + length;
  ConversionResult result = Run(out, capacity, [&](char** target, char* limit, UErrorCode* e) {
    ucnv_fromUnicode(converter, target, limit, &source, source_end, nullptr, true, e);
  });
  result.usedDefault = context.used;
  return result;
}
