// An automation object reached through its IDispatch interface, with the
// platform result code of its last operation.
//
// Texts cross as UTF-16 converted from the ANSI code page (a missing text
// becomes a null string) and come back converted to it; integers are 32-bit;
// logical values are the platform's true and false; a byte set becomes a
// zero-based array of unsigned bytes holding a copy of its bytes. Members are
// looked up by name at every call. Nothing throws: failures are result codes.
#pragma once

#include "oleaut32/dispatch.h"
#include "runtime/byte_set.h"
#include "runtime/text_value.h"

#include <initializer_list>

// One argument of a call.
struct AutomationArg {
  enum class Kind { Text, Integer, Logical, Bytes, BytesByReference };
  Kind kind;
  TextRef text;
  int32_t integer = 0;
  ByteRef bytes;

  static AutomationArg Text(TextRef t) { return {Kind::Text, t, 0, {}}; }
  static AutomationArg Integer(int32_t v) { return {Kind::Integer, {}, v, {}}; }
  static AutomationArg Logical(bool v) { return {Kind::Logical, {}, v ? 1 : 0, {}}; }
  // A reference to a variant that holds a byte array with a copy of the bytes.
  static AutomationArg BytesByReference(ByteRef b) { return {Kind::BytesByReference, {}, 0, b}; }
};

class AutomationObject {
public:
  AutomationObject() = default;
  // The object of a class looked up by its ProgID (or, failing that, by the
  // same text read as a class identifier), created in any server context
  // (or once more in the in-process and local contexts) and put into its
  // running state. Invalid when any of that fails.
  static AutomationObject Create(TextRef progId);

  AutomationObject(AutomationObject&& other) noexcept;
  AutomationObject& operator=(AutomationObject&& other) noexcept;
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;
  ~AutomationObject();

  bool IsValid() const { return object_ != nullptr; }
  HRESULT LastResult() const { return last_; }

  HRESULT CallMethod(TextRef name, std::initializer_list<AutomationArg> args);
  HRESULT PutIndexed(TextRef name, int32_t index, AutomationArg value);
  // The property as text; empty when the read gives no text.
  TextValue GetText(TextRef name);
  // The property as bytes: a copy of a byte array, or of what another kind
  // converts to as one; empty when that is impossible.
  ByteSet GetBytes(TextRef name);

private:
  explicit AutomationObject(IDispatch* object) : object_(object) {}
  HRESULT Invoke(TextRef name, WORD flags, VARIANT* args, UINT count, bool namedPut, VARIANT* result);

  IDispatch* object_ = nullptr;
  HRESULT last_ = 0;
};
