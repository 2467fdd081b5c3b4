// Test helper: calling the request object late-bound, as the system does,
// with arguments in call order (the helper reverses them for DISPPARAMS).
#pragma once

#include "ole32/com_ptr.h"
#include "oleaut32/dispatch.h"

#include <string>
#include <string_view>
#include <vector>

// Owns one VARIANT argument or result.
class Value {
public:
  Value() { VariantInit(&v_); }
  ~Value() { VariantClear(&v_); }
  Value(const Value& other) {
    VariantInit(&v_);
    VariantCopy(&v_, &other.v_);
  }
  Value& operator=(const Value&) = delete;

  static Value Text(std::u16string_view text);
  static Value NullText(); // a VT_BSTR holding the null string
  static Value Long(LONG n);
  static Value Bool(bool b);
  static Value Bytes(std::string_view bytes);
  // A VT_BYREF|VT_VARIANT pointing at `target`, which must outlive it.
  static Value Reference(Value& target);

  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }
  // The bytes of a VT_ARRAY|VT_UI1, the UTF-16 of a BSTR as ASCII.
  std::string bytes() const;
  std::string text() const;

private:
  VARIANT v_;
};

class Automation {
public:
  // Creates "WinHttp.WinHttpRequest.5.1"; the thread must be initialised.
  static HRESULT Create(Automation* out);

  HRESULT call(std::u16string name, std::vector<Value> args, Value* result = nullptr);
  HRESULT get(std::u16string name, Value* result, std::vector<Value> index = {});
  HRESULT put(std::u16string name, std::vector<Value> index, Value value);
  HRESULT invoke(std::u16string name, WORD flags, std::vector<Value>& args, Value* result, Value* putValue);

  IDispatch* object() const { return object_.get(); }

private:
  ComPtr<IDispatch> object_;
};
