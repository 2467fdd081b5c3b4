#include "runtime/byte_set_commands.h"

#include "runtime/runtime_frame.h"

#include <cstring>

namespace {

struct Kind {
  uint32_t code;
  size_t width;
};

// A subroutine pointer is a code address: 8 bytes on this 64-bit build.
constexpr Kind kKinds[] = {
    {TypeCode::Byte, 1},    {TypeCode::Short, 2},      {TypeCode::Integer, 4},    {TypeCode::Long, 8},
    {TypeCode::Float, 4},   {TypeCode::Double, 8},     {TypeCode::Logical, 4},    {TypeCode::DateTime, 8},
    {TypeCode::Subroutine, 8}, {TypeCode::Text, 0},
};

ReadValue Zero(uint32_t code) { return {CommandArg{0, 0, code}, TextValue()}; }

} // namespace

int32_t ByteSetLength(ByteRef bytes) { return bytes.Length(); }

ByteSet BlankByteSet(int32_t n) { return n > 0 ? ByteSet::Zeroed(static_cast<size_t>(n)) : ByteSet(); }

ReadValue ReadByteSetValue(ByteRef bytes, int32_t kindIndex, CommandArg position) {
  if (kindIndex < 1 || kindIndex > 10)
    FatalError(100);
  const Kind kind = kKinds[kindIndex - 1];
  int32_t length = bytes.Length();
  if (length == 0)
    return Zero(kind.code);

  int32_t* variable = position.type == TypeCode::IntegerVariable ? static_cast<int32_t*>(position.AsPointer()) : nullptr;
  int32_t pos = 1;
  if (variable)
    pos = *variable;
  else if (!position.IsOmitted())
    pos = position.AsInteger();
  if (pos < 1 || pos > length) {
    if (variable)
      *variable = -1;
    return Zero(kind.code);
  }

  const uint8_t* at = bytes.Data() + (pos - 1);
  size_t left = static_cast<size_t>(length - (pos - 1));
  ReadValue result = Zero(kind.code);
  size_t consumed;
  if (kind.code == TypeCode::Text) {
    const void* zero = std::memchr(at, 0, left);
    size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - at) : left;
    result.text = TextValue::Copy(reinterpret_cast<const char*>(at), n);
    result.value = CommandArg::Text(result.text.Pointer());
    consumed = n + 1;
  } else {
    // A byte set that ends early reads as if padded with zero bytes.
    uint64_t v = 0;
    for (size_t i = 0; i < kind.width && i < left; i++)
      v |= static_cast<uint64_t>(at[i]) << (8 * i);
    result.value = CommandArg{static_cast<uint32_t>(v), static_cast<uint32_t>(v >> 32), kind.code};
    consumed = kind.width;
  }
  if (variable) {
    int64_t next = static_cast<int64_t>(pos) + static_cast<int64_t>(consumed);
    *variable = next > length ? -1 : static_cast<int32_t>(next);
  }
  return result;
}
