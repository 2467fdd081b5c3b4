#include "runtime/bit_commands.h"
#include "runtime/byte_set_commands.h"
#include "runtime/to_text.h"
#include "runtime/value_array.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Text(const CommandArg& v) { return ToText(v).Bytes(); }

TEST(ToText, NumbersAndLogicals) {
  struct Case {
    CommandArg value;
    const char* expected;
  } cases[] = {
      {CommandArg::Integer(0), "0"},
      {CommandArg::Integer(-42), "-42"},
      {CommandArg::Short(-2), "-2"},
      {CommandArg::Byte(255), "255"},
      {CommandArg::Long(-9000000000LL), "-9000000000"},
      {CommandArg::Double(3.0), "3"},
      {CommandArg::Double(100.5), "100.5"},
      {CommandArg::Double(2.5), "2.5"},
      {CommandArg::Double(0.0), "0"},
      {CommandArg::Double(1.0 / 3.0), "0.333333"},
      {CommandArg::Double(0.0000004), "0"},
      {CommandArg::Double(-0.0000004), "-0"},
      {CommandArg::Double(-0.0), "-0"},
      {CommandArg::Double(1e20), "100000000000000000000"},
      {CommandArg::Double(-1.0), "-1"},
      {CommandArg::Double(std::numeric_limits<double>::infinity()), "inf"},
      {CommandArg::Double(-std::numeric_limits<double>::infinity()), "-inf"},
      {CommandArg::Double(std::nan("")), "nan"},
      {CommandArg::Float(0.25f), "0.25"},
      {CommandArg::Logical(true), "真"},
      {CommandArg::Logical(false), "假"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Text(c.value), c.expected);
  EXPECT_FALSE(ToText(0).IsNull());
}

TEST(ToText, TextsBytesAndArraysStopAtTheFirstZeroByte) {
  ByteSet bytes = ByteSet::Copy("ab\0c", 4);
  EXPECT_EQ(Text(CommandArg::Bytes(bytes.Block())), "ab");
  ByteSet leading_zero = ByteSet::Copy("\0ab", 3);
  EXPECT_TRUE(ToText(CommandArg::Bytes(leading_zero.Block())).IsNull());
  EXPECT_TRUE(ToText(CommandArg::Bytes(nullptr)).IsNull());
  EXPECT_EQ(Text(CommandArg::Text("歌词")), "歌词");
  EXPECT_TRUE(ToText(CommandArg::Text("")).IsNull());

  ValueArray<int32_t> numbers;
  numbers.Append(0x00636261); // "abc" then a zero byte
  numbers.Append(0x64);
  EXPECT_EQ(Text(CommandArg::Array(numbers.Block(), TypeCode::Integer)), "abc");
  TextArray texts;
  texts.Append(TextValue::Copy("x"));
  EXPECT_TRUE(ToText(CommandArg::Array(texts.Block(), TypeCode::Text)).IsNull());
  EXPECT_TRUE(ToText(CommandArg{1, 0, TypeCode::AutomationObject}).IsNull());
  EXPECT_TRUE(ToText(CommandArg::Omitted()).IsNull());
}

TEST(ToBytes, LittleEndianValuesAndTextsWithoutTheirTerminator) {
  ByteSet text = ToBytes(CommandArg::Text("ab"));
  ASSERT_EQ(text.Length(), 2);
  EXPECT_EQ(text.Data()[1], 'b');
  EXPECT_TRUE(ToBytes(CommandArg::Text("")).IsEmpty());
  ByteSet integer = ToBytes(CommandArg::Integer(0x01020304));
  ASSERT_EQ(integer.Length(), 4);
  EXPECT_EQ(integer.Data()[0], 0x04);
  EXPECT_EQ(integer.Data()[3], 0x01);
  EXPECT_EQ(ToBytes(CommandArg::Double(1.0)).Length(), 8);
  EXPECT_EQ(ToBytes(CommandArg::Short(1)).Length(), 2);
  EXPECT_EQ(ToBytes(CommandArg::Byte(7)).Length(), 1);
  EXPECT_TRUE(ToBytes(CommandArg{1, 0, TypeCode::Variant}).IsEmpty());
}

TEST(ReadByteSetValue, ReadsKindsAndAdvancesAPositionVariable) {
  const uint8_t raw[] = {0x01, 0x02, 'h', 'i', 0, 'z'};
  ByteSet bytes = ByteSet::Copy(raw, sizeof raw);
  int32_t pos = 1;
  ReadValue shorts = ReadByteSetValue(bytes, 2, CommandArg::IntegerVariable(&pos));
  EXPECT_EQ(shorts.value.type, TypeCode::Short);
  EXPECT_EQ(shorts.value.low, 0x0201u);
  EXPECT_EQ(pos, 3);
  ReadValue text = ReadByteSetValue(bytes, 10, CommandArg::IntegerVariable(&pos));
  EXPECT_EQ(text.value.type, TypeCode::Text);
  EXPECT_STREQ(text.text.Bytes(), "hi");
  EXPECT_EQ(pos, 6);
  ReadValue last = ReadByteSetValue(bytes, 3, CommandArg::IntegerVariable(&pos));
  EXPECT_EQ(last.value.low, static_cast<uint32_t>('z')); // padded with zero bytes
  EXPECT_EQ(pos, -1);
  ReadValue past = ReadByteSetValue(bytes, 1, CommandArg::Integer(99));
  EXPECT_EQ(past.value.low, 0u);

  ByteSet no_zero = ByteSet::Copy("abc", 3);
  EXPECT_STREQ(ReadByteSetValue(no_zero, 10).text.Bytes(), "abc");
  EXPECT_TRUE(ReadByteSetValue(ByteRef(), 10).text.IsNull());
}

TEST(ReadByteSetValueDeath, KindIndexOutsideOneToTenIsRuntimeError100) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ByteSet bytes = ByteSet::Copy("abc", 3);
  EXPECT_EXIT(ReadByteSetValue(bytes, 11), testing::ExitedWithCode(0), "error number is 100\\. \\(0x64h\\)");
}

TEST(ByteSetCommands, LengthAndBlank) {
  EXPECT_EQ(ByteSetLength(ByteRef()), 0);
  ByteSet blank = BlankByteSet(3);
  ASSERT_EQ(ByteSetLength(blank), 3);
  EXPECT_EQ(blank.Data()[2], 0);
  EXPECT_TRUE(BlankByteSet(0).IsEmpty());
}

TEST(BitCommands, OrAndShift) {
  EXPECT_EQ(BitOr({0x50000000, 0x00020000, 0}), 0x50020000);
  EXPECT_EQ(BitAnd({0x50010703, 0xFF}), 0x03);
  EXPECT_EQ(ShiftRight(-16, 2), -4);
  EXPECT_EQ(ShiftRight(0x40000, 33), 0x20000);
}

} // namespace
