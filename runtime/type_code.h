// The 32-bit codes that tag the kind of every value handed to a runtime
// command. Commands compare them exactly.
#pragma once

#include <cstdint>

namespace TypeCode {

constexpr uint32_t None = 0; // the argument was omitted
constexpr uint32_t Byte = 0x80000101;
constexpr uint32_t Short = 0x80000201;
constexpr uint32_t Integer = 0x80000301;
constexpr uint32_t Long = 0x80000401;
constexpr uint32_t Float = 0x80000501;
constexpr uint32_t Double = 0x80000601;
constexpr uint32_t Logical = 0x80000002;
constexpr uint32_t DateTime = 0x80000003;
constexpr uint32_t Text = 0x80000004;
constexpr uint32_t Bytes = 0x80000005;
constexpr uint32_t Subroutine = 0x80000006;

// Added to a code: an array of that kind (for ToText and ToBytes), or the
// address of the caller's variable (for an argument a command writes back).
constexpr uint32_t Indirect = 0x20000000;
constexpr uint32_t IntegerVariable = Integer | Indirect; // 0xA0000301
constexpr uint32_t TextVariable = Text | Indirect;       // 0xA0000004

// Kinds a library defines have the top bit clear.
constexpr uint32_t AutomationObject = 0x00010030;
constexpr uint32_t Variant = 0x00010031;
constexpr uint32_t VariantReference = Variant | Indirect; // 0x20010031

constexpr bool IsLibraryKind(uint32_t code) { return code != None && (code & 0x80000000u) == 0; }
constexpr uint32_t BaseKind(uint32_t code) { return code & ~Indirect; }

} // namespace TypeCode
