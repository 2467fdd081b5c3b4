#include "oleaut32/bstr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

DWORD PrefixOf(BSTR text) {
  DWORD prefix = 0;
  std::memcpy(&prefix, reinterpret_cast<const char*>(text) - 4, 4);
  return prefix;
}

TEST(Bstr, CarriesItsByteLengthBeforeAndATerminatorAfter) {
  BSTR text = SysAllocString(u"abc");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(PrefixOf(text), 6u);
  EXPECT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(SysStringByteLen(text), 6u);
  EXPECT_EQ(text[3], 0);
  SysFreeString(text);
}

TEST(Bstr, TheLengthCountsNotTheFirstZero) {
  const char16_t units[] = {u'a', 0, u'b'};
  BSTR text = SysAllocStringLen(units, 3);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(text[2], u'b');
  EXPECT_EQ(text[3], 0);
  SysFreeString(text);

  BSTR zeroed = SysAllocStringLen(nullptr, 4);
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(SysStringLen(zeroed), 4u);
  EXPECT_EQ(zeroed[0], 0);
  SysFreeString(zeroed);
}

TEST(Bstr, ByteStringsKeepAnOddLength) {
  BSTR bytes = SysAllocStringByteLen("\x01\x02\xFF", 3);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(SysStringByteLen(bytes), 3u);
  EXPECT_EQ(SysStringLen(bytes), 1u);
  EXPECT_EQ(std::memcmp(bytes, "\x01\x02\xFF", 3), 0);
  SysFreeString(bytes);
}

TEST(Bstr, NullIsTheEmptyString) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  BSTR empty = SysAllocString(u"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
}

} // namespace
