#include "ole32/guid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr GUID kSample = {0x2087c2f4, 0x2cef, 0x4953, {0xa8, 0xab, 0x66, 0x77, 0x9b, 0x67, 0x04, 0x95}};

TEST(ClsidText, ReadsEitherCaseAndWritesUpperCase) {
  CLSID read{};
  ASSERT_EQ(CLSIDFromString(u"{2087c2f4-2cef-4953-A8AB-66779b670495}", &read), S_OK);
  EXPECT_EQ(read, kSample);
  OLECHAR text[39];
  ASSERT_EQ(StringFromGUID2(read, text, 39), 39);
  EXPECT_EQ(std::u16string(text), u"{2087C2F4-2CEF-4953-A8AB-66779B670495}");
  EXPECT_EQ(StringFromGUID2(read, text, 38), 0);
}

TEST(ClsidText, RefusesAnythingButTheBracedForm) {
  const char16_t* bad[] = {
      u"2087c2f4-2cef-4953-a8ab-66779b670495",    // no braces
      u"{2087c2f4-2cef-4953-a8ab-66779b67049}",   // one digit short
      u"{2087c2f4-2cef-4953-a8ab-66779b6704951}", // one digit long
      u"{2087c2f4-2cef-4953-a8ab-66779b67049g}",  // not hex
      u"{2087c2f4:2cef-4953-a8ab-66779b670495}",  // wrong separator
      u"WinHttp.WinHttpRequest.5.1",              // a ProgID is not a CLSID text
      u"",
  };
  for (const char16_t* text : bad) {
    CLSID read = kSample;
    EXPECT_EQ(CLSIDFromString(text, &read), CO_E_CLASSSTRING);
    EXPECT_EQ(read, CLSID_NULL);
  }
  CLSID read{};
  EXPECT_EQ(CLSIDFromString(nullptr, &read), CO_E_CLASSSTRING);
}

} // namespace
