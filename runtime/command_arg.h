// CommandArg: the three-word record (value low, value high, TypeCode) in
// which values go to the runtime commands and come back from them.
//
// Three zeros mean an omitted argument, which is distinct from a given 0:
// commands test the type word. Kinds of 32 bits or fewer use the low word;
// 64-bit kinds use both. On this 64-bit build a pointer (text, byte set,
// array, variable) takes both words as well.
#pragma once

#include "runtime/type_code.h"

#include <cstdint>
#include <cstring>

struct CommandArg {
  uint32_t low = 0;
  uint32_t high = 0;
  uint32_t type = TypeCode::None;

  static CommandArg Omitted() { return {}; }
  static CommandArg Byte(uint8_t v) { return Word(v, TypeCode::Byte); }
  static CommandArg Short(int16_t v) { return Word(static_cast<uint16_t>(v), TypeCode::Short); }
  static CommandArg Integer(int32_t v) { return Word(static_cast<uint32_t>(v), TypeCode::Integer); }
  static CommandArg Logical(bool v) { return Word(v ? 1 : 0, TypeCode::Logical); }
  static CommandArg Long(int64_t v) { return Quad(static_cast<uint64_t>(v), TypeCode::Long); }
  static CommandArg Float(float v);
  static CommandArg Double(double v) { return Quad(Bits(v), TypeCode::Double); }
  static CommandArg DateTime(double v) { return Quad(Bits(v), TypeCode::DateTime); }
  static CommandArg Text(const char* text) { return Pointer(text, TypeCode::Text); }
  static CommandArg Bytes(const void* block) { return Pointer(block, TypeCode::Bytes); }
  static CommandArg Subroutine(void (*entry)());
  // A ValueArray block whose elements have the base kind.
  static CommandArg Array(const void* block, uint32_t elementKind) {
    return Pointer(block, elementKind | TypeCode::Indirect);
  }
  // The address of the caller's integer variable, which the command may write.
  static CommandArg IntegerVariable(int32_t* variable) { return Pointer(variable, TypeCode::IntegerVariable); }
  static CommandArg Pointer(const void* p, uint32_t type) {
    return Quad(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)), type);
  }

  bool IsOmitted() const { return type == TypeCode::None; }
  uint64_t Value() const { return static_cast<uint64_t>(high) << 32 | low; }
  int32_t AsInteger() const { return static_cast<int32_t>(low); }
  int64_t AsLong() const { return static_cast<int64_t>(Value()); }
  double AsDouble() const;
  float AsFloat() const;
  void* AsPointer() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(Value())); }

private:
  static CommandArg Word(uint32_t v, uint32_t type) { return {v, 0, type}; }
  static CommandArg Quad(uint64_t v, uint32_t type) {
    return {static_cast<uint32_t>(v), static_cast<uint32_t>(v >> 32), type};
  }
  static uint64_t Bits(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
  }
};

static_assert(sizeof(CommandArg) == 12, "a CommandArg is three 32-bit words");

inline CommandArg CommandArg::Float(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return Word(bits, TypeCode::Float);
}

inline CommandArg CommandArg::Subroutine(void (*entry)()) {
  return Quad(static_cast<uint64_t>(reinterpret_cast<uintptr_t>(entry)), TypeCode::Subroutine);
}

inline double CommandArg::AsDouble() const {
  uint64_t bits = Value();
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

inline float CommandArg::AsFloat() const {
  float v;
  std::memcpy(&v, &low, sizeof v);
  return v;
}
