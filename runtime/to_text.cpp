#include "runtime/to_text.h"

#include "runtime/date_time.h"
#include "runtime/value_array.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

TextValue Printed(const char* format, auto value) {
  char text[64];
  int n = std::snprintf(text, sizeof text, format, value);
  return TextValue::Copy(text, static_cast<size_t>(n));
}

// The bytes up to the first zero byte, or all of them.
TextValue UpToZero(const uint8_t* bytes, size_t n) {
  if (!bytes)
    return {};
  const void* zero = std::memchr(bytes, 0, n);
  size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : n;
  return TextValue::Copy(reinterpret_cast<const char*>(bytes), length);
}

// Element widths of the arrays whose bytes can be read as a text. A
// subroutine pointer is a code address: 8 bytes on this 64-bit build.
size_t IntegralElementWidth(uint32_t kind) {
  switch (kind) {
  case TypeCode::Byte:
    return 1;
  case TypeCode::Short:
    return 2;
  case TypeCode::Integer:
    return 4;
  case TypeCode::Long:
  case TypeCode::Subroutine:
    return 8;
  default:
    return 0;
  }
}

TextValue ArrayText(const CommandArg& value) {
  size_t width = IntegralElementWidth(TypeCode::BaseKind(value.type));
  const void* block = value.AsPointer();
  if (width == 0 || !block)
    return {};
  return UpToZero(ArrayElements(block), width * static_cast<size_t>(ArrayCount(block)));
}

ByteSet LittleEndian(const CommandArg& value, size_t n) {
  uint64_t v = value.Value();
  uint8_t bytes[8];
  for (size_t i = 0; i < 8; i++)
    bytes[i] = static_cast<uint8_t>(v >> (8 * i));
  return ByteSet::Copy(bytes, n);
}

} // namespace

TextValue DoubleText(double v) {
  if (std::isnan(v))
    return TextValue::Copy("nan");
  if (std::isinf(v))
    return TextValue::Copy(v < 0 ? "-inf" : "inf");
  char text[400];
  int n = std::snprintf(text, sizeof text, "%f", v);
  while (n > 1 && text[n - 1] == '0')
    n--;
  if (n > 1 && text[n - 1] == '.')
    n--;
  return TextValue::Copy(text, static_cast<size_t>(n));
}

TextValue ToText(const CommandArg& value) {
  if (value.type & TypeCode::Indirect)
    return ArrayText(value);
  switch (value.type) {
  case TypeCode::Integer:
    return Printed("%d", value.AsInteger());
  case TypeCode::Subroutine:
    return Printed("%" PRId64, value.AsLong());
  case TypeCode::Short:
    return Printed("%d", static_cast<int>(static_cast<int16_t>(value.low)));
  case TypeCode::Byte:
    return Printed("%d", static_cast<int>(static_cast<uint8_t>(value.low)));
  case TypeCode::Long:
    return Printed("%" PRId64, value.AsLong());
  case TypeCode::Double:
    return DoubleText(value.AsDouble());
  case TypeCode::Float:
    return DoubleText(static_cast<double>(value.AsFloat()));
  case TypeCode::Logical:
    return TextValue::Copy(value.low ? "真" : "假");
  case TypeCode::DateTime:
    return DateTimeText(value.AsDouble());
  case TypeCode::Text:
    return TextValue::Copy(TextRef(static_cast<const char*>(value.AsPointer())));
  case TypeCode::Bytes: {
    ByteRef bytes(value.AsPointer());
    return UpToZero(bytes.Data(), static_cast<size_t>(bytes.Length()));
  }
  default:
    return {};
  }
}

ByteSet ToBytes(const CommandArg& value) {
  if (value.type & TypeCode::Indirect) {
    const void* block = value.AsPointer();
    if (TypeCode::BaseKind(value.type) != TypeCode::Byte || !block)
      return {};
    return ByteSet::Copy(ArrayElements(block), static_cast<size_t>(ArrayCount(block)));
  }
  switch (value.type) {
  case TypeCode::Text: {
    TextRef text(static_cast<const char*>(value.AsPointer()));
    return ByteSet::Copy(text.Bytes(), static_cast<size_t>(text.Length()));
  }
  case TypeCode::Bytes:
    return ByteSet::Copy(ByteRef(value.AsPointer()));
  case TypeCode::Integer:
  case TypeCode::Logical:
  case TypeCode::Float:
    return LittleEndian(value, 4);
  case TypeCode::Subroutine:
  case TypeCode::Long:
  case TypeCode::Double:
  case TypeCode::DateTime:
    return LittleEndian(value, 8);
  case TypeCode::Short:
    return LittleEndian(value, 2);
  case TypeCode::Byte:
    return LittleEndian(value, 1);
  default:
    return {};
  }
}
