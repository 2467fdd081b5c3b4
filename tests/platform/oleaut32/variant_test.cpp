#include "oleaut32/safe_array.h"
#include "oleaut32/variant.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

VARIANT Long(LONG v) {
  VARIANT x;
  VariantInit(&x);
  x.vt = VT_I4;
  x.lVal = v;
  return x;
}

VARIANT Text(const char16_t* text) {
  VARIANT x;
  VariantInit(&x);
  x.vt = VT_BSTR;
  x.bstrVal = SysAllocString(text);
  return x;
}

VARIANT Bool(bool v) {
  VARIANT x;
  VariantInit(&x);
  x.vt = VT_BOOL;
  x.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
  return x;
}

VARIANT Real(double v) {
  VARIANT x;
  VariantInit(&x);
  x.vt = VT_R8;
  x.dblVal = v;
  return x;
}

VARIANT Bytes(std::string_view bytes) {
  VARIANT x;
  VariantInit(&x);
  x.vt = VT_ARRAY | VT_UI1;
  x.parray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  std::memcpy(x.parray->pvData, bytes.data(), bytes.size());
  return x;
}

std::u16string TextOf(const VARIANT& v) { return std::u16string(v.bstrVal, SysStringLen(v.bstrVal)); }

TEST(Variant, LayoutIsTheWindowsOne) {
  EXPECT_EQ(sizeof(VARIANT), 24u);
  EXPECT_EQ(offsetof(VARIANT, lVal), 8u);
  EXPECT_EQ(offsetof(SAFEARRAY, pvData), 16u);
  EXPECT_EQ(offsetof(SAFEARRAY, rgsabound), 24u);
}

TEST(Variant, ClearReleasesWhatItOwnsButNotWhatItReferences) {
  VARIANT text = Text(u"owned");
  EXPECT_EQ(VariantClear(&text), S_OK);
  EXPECT_EQ(text.vt, VT_EMPTY);

  VARIANT bytes = Bytes("abc");
  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_VARIANT;
  reference.pvarVal = &bytes;
  EXPECT_EQ(VariantClear(&reference), S_OK);
  EXPECT_EQ(bytes.vt, VT_ARRAY | VT_UI1) << "the referenced value stays";

  void* data = nullptr;
  SafeArrayAccessData(bytes.parray, &data);
  EXPECT_EQ(VariantClear(&bytes), DISP_E_ARRAYISLOCKED);
  SafeArrayUnaccessData(bytes.parray);
  EXPECT_EQ(VariantClear(&bytes), S_OK);

  VARIANT bad;
  VariantInit(&bad);
  bad.vt = 0x0FFF;
  EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
}

TEST(Variant, CopyIsDeepAndCopyIndFollowsTheReference) {
  VARIANT bytes = Bytes("xyz");
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &bytes), S_OK);
  EXPECT_NE(copy.parray, bytes.parray);

  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_VARIANT;
  reference.pvarVal = &bytes;
  VARIANT shallow, deep;
  VariantInit(&shallow);
  VariantInit(&deep);
  ASSERT_EQ(VariantCopy(&shallow, &reference), S_OK);
  EXPECT_EQ(shallow.vt, VT_BYREF | VT_VARIANT);
  ASSERT_EQ(VariantCopyInd(&deep, &reference), S_OK);
  EXPECT_EQ(deep.vt, VT_ARRAY | VT_UI1);
  EXPECT_NE(deep.parray, bytes.parray);
  EXPECT_EQ(std::memcmp(deep.parray->pvData, "xyz", 3), 0);
  VariantClear(&deep);
  VariantClear(&copy);
  VariantClear(&bytes);
}

struct ToText {
  VARIANT source;
  USHORT flags;
  std::u16string expected;
};

TEST(VariantChangeType, ToText) {
  ToText cases[] = {
      {Long(42), 0, u"42"},
      {Long(-7), 0, u"-7"},
      {Bool(true), 0, u"-1"},
      {Bool(true), VARIANT_ALPHABOOL, u"True"},
      {Bool(false), VARIANT_ALPHABOOL, u"False"},
      {Real(2.5), 0, u"2.5"},
  };
  for (ToText& c : cases) {
    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(VariantChangeType(&out, &c.source, c.flags, VT_BSTR), S_OK);
    EXPECT_EQ(out.vt, VT_BSTR);
    EXPECT_EQ(TextOf(out), c.expected);
    VariantClear(&out);
  }
  VARIANT empty;
  VariantInit(&empty);
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(VariantChangeType(&out, &empty, 0, VT_BSTR), S_OK);
  EXPECT_EQ(SysStringLen(out.bstrVal), 0u);
  VariantClear(&out);
}

struct ToNumber {
  VARIANT source;
  VARTYPE type;
  HRESULT result;
  LONGLONG expected;
};

TEST(VariantChangeType, ToNumbers) {
  ToNumber cases[] = {
      {Text(u"123"), VT_I4, S_OK, 123},
      {Text(u"  7 "), VT_I4, S_OK, 7},
      {Text(u"abc"), VT_I4, DISP_E_TYPEMISMATCH, 0},
      {Text(u"3000000000"), VT_I4, DISP_E_OVERFLOW, 0},
      {Long(300), VT_UI1, DISP_E_OVERFLOW, 0},
      {Long(255), VT_UI1, S_OK, 255},
      {Real(2.5), VT_I4, S_OK, 2}, // half to even
      {Real(3.5), VT_I4, S_OK, 4},
      {Bool(true), VT_I4, S_OK, -1},
      {Text(u"True"), VT_BOOL, S_OK, VARIANT_TRUE},
      {Text(u"0"), VT_BOOL, S_OK, VARIANT_FALSE},
      {Long(6), VT_BOOL, S_OK, VARIANT_TRUE},
  };
  for (ToNumber& c : cases) {
    VARIANT out = Long(99);
    HRESULT hr = VariantChangeType(&out, &c.source, 0, c.type);
    EXPECT_EQ(hr, c.result) << "case expecting " << c.expected;
    if (SUCCEEDED(hr)) {
      EXPECT_EQ(out.vt, c.type);
      LONGLONG got = c.type == VT_UI1 ? out.bVal : c.type == VT_BOOL ? out.boolVal : out.lVal;
      EXPECT_EQ(got, c.expected);
    } else {
      EXPECT_EQ(out.vt, VT_I4) << "a failed conversion leaves the destination";
      EXPECT_EQ(out.lVal, 99);
    }
    VariantClear(&c.source);
  }
}

TEST(VariantChangeType, StringsAndByteArraysConvertByTheirBytes) {
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocStringByteLen("\x01\x00\xFEz", 4);
  VARIANT bytes;
  VariantInit(&bytes);
  ASSERT_EQ(VariantChangeType(&bytes, &text, 0, VT_ARRAY | VT_UI1), S_OK);
  ASSERT_EQ(bytes.parray->rgsabound[0].cElements, 4u);
  EXPECT_EQ(std::memcmp(bytes.parray->pvData, "\x01\x00\xFEz", 4), 0);

  // Back again, in place.
  ASSERT_EQ(VariantChangeType(&bytes, &bytes, 0, VT_BSTR), S_OK);
  EXPECT_EQ(bytes.vt, VT_BSTR);
  EXPECT_EQ(SysStringByteLen(bytes.bstrVal), 4u);
  EXPECT_EQ(std::memcmp(bytes.bstrVal, "\x01\x00\xFEz", 4), 0);
  VariantClear(&bytes);
  VariantClear(&text);

  VARIANT number = Long(5);
  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(VariantChangeType(&out, &number, 0, VT_ARRAY | VT_UI1), DISP_E_TYPEMISMATCH);
}

TEST(VariantChangeType, ReadsThroughAReference) {
  VARIANT inner = Text(u"17");
  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_VARIANT;
  reference.pvarVal = &inner;
  VARIANT out;
  VariantInit(&out);
  ASSERT_EQ(VariantChangeType(&out, &reference, 0, VT_I4), S_OK);
  EXPECT_EQ(out.lVal, 17);
  EXPECT_EQ(inner.vt, VT_BSTR);
  VariantClear(&inner);
}

} // namespace
