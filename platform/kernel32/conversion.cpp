#include "kernel32/conversion.h"

#include "kernel32/code_page_converter.h"
#include "kernel32/composition.h"
#include "kernel32/last_error.h"

#include <climits>
#include <optional>

namespace {

std::optional<CodePageKind> KindOf(UINT codePage) {
  switch (codePage) {
  case CP_ACP:
  case CP_OEMCP:
  case CP_THREAD_ACP:
  case CP_GBK:
    return CodePageKind::Gbk;
  case CP_UTF8:
    return CodePageKind::Utf8;
  default:
    return std::nullopt;
  }
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

int Finish(const ConversionResult& result) {
  switch (result.status) {
  case ConversionStatus::Ok:
    return result.count <= INT_MAX ? static_cast<int>(result.count) : Fail(ERROR_INSUFFICIENT_BUFFER);
  case ConversionStatus::BufferTooSmall:
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  case ConversionStatus::Invalid:
    return Fail(ERROR_NO_UNICODE_TRANSLATION);
  case ConversionStatus::Failed:
    break;
  }
  return Fail(ERROR_INVALID_PARAMETER);
}

// -1 reads through the terminator, which then belongs to the input.
template <typename Unit> size_t InputLength(const Unit* in, int length) {
  if (length >= 0)
    return static_cast<size_t>(length);
  size_t n = 0;
  while (in[n])
    n++;
  return n + 1;
}

bool ValidArguments(const void* in, int inLength, const void* out, int capacity) {
  return in && inLength != 0 && inLength >= -1 && capacity >= 0 && (out || capacity == 0) &&
         (capacity == 0 || in != out);
}

bool ValidDecodeFlags(CodePageKind kind, DWORD flags) {
  DWORD allowed = kind == CodePageKind::Utf8 ? MB_ERR_INVALID_CHARS : MB_PRECOMPOSED | MB_ERR_INVALID_CHARS;
  return (flags & ~allowed) == 0;
}

bool ValidEncodeFlags(CodePageKind kind, DWORD flags) {
  if (kind == CodePageKind::Utf8)
    return (flags & ~WC_ERR_INVALID_CHARS) == 0;
  if ((flags & WC_SEPCHARS) && !(flags & WC_COMPOSITECHECK))
    return false;
  return (flags & ~(WC_COMPOSITECHECK | WC_SEPCHARS | WC_NO_BEST_FIT_CHARS)) == 0;
}

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// A default character is one character of the code page: one byte, or a
// lead byte and its trail byte.
std::string_view DefaultCharacter(LPCSTR given) {
  if (!given)
    return "?";
  if (IsLeadByte(static_cast<unsigned char>(given[0])) && given[1])
    return {given, 2};
  return {given, 1};
}

// Two conversions through UTF-16 for the platform's own edges.
int Transcode(CodePageKind from, CodePageKind to, LPCSTR in, int inLength, LPSTR out, int outBytes) {
  if (inLength == 0)
    return 0;
  if (!ValidArguments(in, inLength, out, outBytes))
    return Fail(ERROR_INVALID_PARAMETER);
  size_t length = InputLength(in, inLength);
  ConversionResult measured = DecodeBytes(from, false, in, length, nullptr, 0);
  if (measured.status != ConversionStatus::Ok)
    return Finish(measured);
  std::u16string wide(measured.count, u'\0');
  ConversionResult decoded = DecodeBytes(from, false, in, length, wide.data(), wide.size());
  if (decoded.status != ConversionStatus::Ok)
    return Finish(decoded);
  return Finish(
      EncodeUnits(to, false, true, "?", wide.data(), decoded.count, out, static_cast<size_t>(outBytes)));
}

} // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR in, int inLength, LPWSTR out, int outUnits) {
  if (!ValidArguments(in, inLength, out, outUnits))
    return Fail(ERROR_INVALID_PARAMETER);
  std::optional<CodePageKind> kind = KindOf(codePage);
  if (!kind)
    return Fail(ERROR_INVALID_PARAMETER);
  if (!ValidDecodeFlags(*kind, flags))
    return Fail(ERROR_INVALID_FLAGS);
  bool strict = (flags & MB_ERR_INVALID_CHARS) != 0;
  return Finish(
      DecodeBytes(*kind, strict, in, InputLength(in, inLength), out, static_cast<size_t>(outUnits)));
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR in, int inUnits, LPSTR out, int outBytes,
                        LPCSTR defaultChar, BOOL* usedDefault) {
  if (!ValidArguments(in, inUnits, out, outBytes))
    return Fail(ERROR_INVALID_PARAMETER);
  std::optional<CodePageKind> kind = KindOf(codePage);
  if (!kind)
    return Fail(ERROR_INVALID_PARAMETER);
  if (*kind == CodePageKind::Utf8 && (defaultChar || usedDefault))
    return Fail(ERROR_INVALID_PARAMETER);
  if (!ValidEncodeFlags(*kind, flags))
    return Fail(ERROR_INVALID_FLAGS);
  std::u16string_view text(in, InputLength(in, inUnits));
  std::u16string composed;
  if ((flags & WC_COMPOSITECHECK) && HasCombiningMarks(text)) {
    composed = ComposeMarks(text);
    text = composed;
  }
  bool strict = (flags & WC_ERR_INVALID_CHARS) != 0;
  bool best_fit = (flags & WC_NO_BEST_FIT_CHARS) == 0;
  ConversionResult result = EncodeUnits(*kind, strict, best_fit, DefaultCharacter(defaultChar), text.data(),
                                        text.size(), out, static_cast<size_t>(outBytes));
  if (usedDefault && result.status == ConversionStatus::Ok)
    *usedDefault = result.usedDefault ? TRUE : FALSE;
  return Finish(result);
}

int PlatformCp936ToUtf8(LPCSTR in, int inLength, LPSTR out, int outBytes) {
  return Transcode(CodePageKind::Gbk, CodePageKind::Utf8, in, inLength, out, outBytes);
}

int PlatformUtf8ToCp936(LPCSTR in, int inLength, LPSTR out, int outBytes) {
  return Transcode(CodePageKind::Utf8, CodePageKind::Gbk, in, inLength, out, outBytes);
}
