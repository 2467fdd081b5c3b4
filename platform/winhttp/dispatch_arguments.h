// Inside winhttp: reading the arguments of one IDispatch::Invoke call.
//
// Positional arguments are numbered here in call order from 0 (the
// DISPPARAMS array holds them reversed, after the named ones). An argument
// given by reference is read through the reference. An omitted optional
// argument is one beyond the count or one passed as VT_ERROR with
// DISP_E_PARAMNOTFOUND. A failed conversion records which rgvarg entry it
// was, for Invoke's argument-error out-parameter.
#pragma once

#include "oleaut32/dispatch.h"

#include <string>

class DispatchArguments {
public:
  explicit DispatchArguments(const DISPPARAMS* params);

  UINT count() const { return positional_; }
  // DISP_E_BADPARAMCOUNT outside [required, maximum] given arguments, or
  // DISP_E_PARAMNOTOPTIONAL when one of the first `required` is omitted.
  HRESULT check(UINT required, UINT maximum) const;
  bool present(UINT index) const;
  // The argument, by-reference marks of VT_VARIANT followed; null if omitted.
  const VARIANT* value(UINT index) const;
  // The named DISPID_PROPERTYPUT value of a property write, or null.
  const VARIANT* putValue() const;
  // Whether every named argument is DISPID_PROPERTYPUT.
  bool onlyPutNamed() const;

  HRESULT readLong(UINT index, LONG* out);
  HRESULT readBool(UINT index, bool* out);
  HRESULT readString(UINT index, std::u16string* out);
  // The same conversions for the property-write value.
  HRESULT readPutBool(bool* out);
  HRESULT readPutString(std::u16string* out);
  HRESULT readPutLong(LONG* out);

  UINT failedEntry() const { return failedEntry_; }

private:
  HRESULT convert(const VARIANT* v, UINT entry, VARTYPE type, VARIANT* out);
  HRESULT readLongAt(const VARIANT* v, UINT entry, LONG* out);
  HRESULT readBoolAt(const VARIANT* v, UINT entry, bool* out);
  HRESULT readStringAt(const VARIANT* v, UINT entry, std::u16string* out);
  UINT entryOf(UINT index) const { return params_->cArgs - 1 - index; }

  const DISPPARAMS* params_;
  UINT positional_ = 0;
  UINT failedEntry_ = 0;
};
