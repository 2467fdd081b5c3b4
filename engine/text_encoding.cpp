#include "engine/text_encoding.h"

#include "kernel32/conversion.h"
#include "runtime/byte_set_commands.h"
#include "runtime/runtime_frame.h"

namespace {

const WCHAR* Units(ByteRef wide) { return reinterpret_cast<const WCHAR*>(wide.Data()); }
WCHAR* Units(ByteSet& wide) { return reinterpret_cast<WCHAR*>(wide.MutableData()); }

// The bytes up to the first zero byte, read as a text value.
TextValue TextOfBuffer(const ByteSet& buffer) {
  ReadValue read = ReadByteSetValue(buffer, 10);
  if (read.value.type != TypeCode::Text)
    FatalError(5);
  return std::move(read.text);
}

ByteSet ZeroedUnits(int units) { return units > 0 ? ByteSet::Zeroed(static_cast<size_t>(units) * 2) : ByteSet(); }

} // namespace

ByteSet Utf8BytesToUtf16(ByteRef bytes) {
  const char* in = reinterpret_cast<const char*>(bytes.Data());
  int n = bytes.Length();
  int units = MultiByteToWideChar(CP_UTF8, 0, in, n, nullptr, 0);
  ByteSet wide = ZeroedUnits(units);
  if (units > 0)
    MultiByteToWideChar(CP_UTF8, 0, in, n, Units(wide), units);
  return wide;
}

TextValue Utf16ToCp936Text(ByteRef wide) {
  int units = wide.Length() / 2;
  int m = WideCharToMultiByte(936, WC_COMPOSITECHECK, Units(wide), units, nullptr, 0, nullptr, nullptr);
  if (m <= 0)
    return {};
  ByteSet buffer = ByteSet::Zeroed(static_cast<size_t>(m));
  WideCharToMultiByte(936, WC_COMPOSITECHECK, Units(wide), units, reinterpret_cast<char*>(buffer.MutableData()), m,
                      nullptr, nullptr);
  return TextOfBuffer(buffer);
}

ByteSet TextToUtf16(TextRef text, std::optional<uint32_t> codePage) {
  UINT page = codePage.value_or(CP_UTF8);
  int units = MultiByteToWideChar(page, 0, text.Bytes(), -1, nullptr, 0);
  ByteSet wide = ZeroedUnits(units);
  if (units > 0)
    MultiByteToWideChar(page, 0, text.Bytes(), -1, Units(wide), units);
  return wide;
}

TextValue Utf16ToText(ByteRef wide, std::optional<uint32_t> codePage) {
  UINT page = codePage.value_or(CP_ACP);
  int m = WideCharToMultiByte(page, 0, Units(wide), -1, nullptr, 0, nullptr, nullptr);
  if (m <= 0)
    return {};
  ByteSet buffer = ByteSet::Zeroed(static_cast<size_t>(m));
  WideCharToMultiByte(page, 0, Units(wide), -1, reinterpret_cast<char*>(buffer.MutableData()), m, nullptr, nullptr);
  return TextOfBuffer(buffer);
}

TextValue PageBytesToText(ByteRef bytes) { return Utf16ToCp936Text(Utf8BytesToUtf16(bytes)); }

TextValue LyricTextToCp936(TextRef text) { return Utf16ToText(TextToUtf16(text, CP_UTF8), 936); }
