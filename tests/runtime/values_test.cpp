#include "runtime/block.h"
#include "runtime/byte_set.h"
#include "runtime/text_value.h"
#include "runtime/value_array.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CompareText, OrdersRawBytesWithNullAsEmpty) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {nullptr, nullptr, 0}, {nullptr, "", 0},     {"", nullptr, 0},      {nullptr, "a", -1},
      {"a", nullptr, 1},     {"abc", "abc", 0},    {"ab", "abc", -1},     {"abc", "ab", 1},
      {"\xB0", "z", 1},      {"z", "\xB0", -1},    {"中", "中文", -1},    {"B", "a", -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompareText(c.a, c.b), c.expected) << (c.a ? c.a : "null") << " vs " << (c.b ? c.b : "null");
}

TEST(ConcatTexts, AlwaysAllocatesEvenForEmptyInputs) {
  TextValue joined = ConcatTexts({nullptr, "", TextValue()});
  ASSERT_FALSE(joined.IsNull());
  EXPECT_STREQ(joined.Bytes(), "");
  EXPECT_FALSE(IsStaticValue(joined.Pointer()));
  EXPECT_STREQ(ConcatTexts({"准备", "中", nullptr, "……"}).Bytes(), "准备中……");
}

TEST(TextValue, CopiesAreDeepAndLiteralsAreNeverReleased) {
  TextValue literal = TextValue::Literal("静态");
  {
    TextValue copy = literal;
    EXPECT_NE(copy.Pointer(), literal.Pointer());
    EXPECT_TRUE(TextEquals(copy, literal));
  }
  TextValue moved = std::move(literal);
  moved = TextValue();
  // The literal is still usable after every holder let go of it.
  EXPECT_STREQ(TextValue::Literal("静态").Bytes(), "静态");
  EXPECT_TRUE(TextValue::Copy("", 0).IsNull());
  EXPECT_EQ(TextLength(nullptr), 0);
  EXPECT_EQ(TextLength("中a"), 3);
}

TEST(FreeBlock, IgnoresNullStaticAndLowAddresses) {
  static const char constant[] = "constant";
  FreeBlock(nullptr);
  FreeBlock(constant);
  FreeBlock(reinterpret_cast<void*>(uintptr_t{4096}));
  FreeBlock(StaticEmptyArray());
  FreeBlock(StaticEmptyByteSet());
  EXPECT_STREQ(constant, "constant");
  EXPECT_EQ(ArrayCount(StaticEmptyArray()), 0);
}

TEST(ByteSet, HasTheArrayLayoutAndEmptyIsNull) {
  ByteSet bytes = ByteSet::Copy("ab\0c", 4);
  const auto* block = static_cast<const int32_t*>(bytes.Block());
  EXPECT_EQ(block[0], 1);
  EXPECT_EQ(block[1], 4);
  EXPECT_EQ(BlockCapacity(bytes.Block()) >= 12u, true);
  EXPECT_EQ(ArrayCount(bytes.Block()), 4);
  EXPECT_EQ(bytes.Data()[2], 0);
  EXPECT_TRUE(ByteSet::Copy("x", 0).Block() == nullptr);
  EXPECT_EQ(ByteRef(StaticEmptyByteSet()).Length(), 0);
}

TEST(ValueArray, AppendingToTheStaticEmptyArrayMakesAnOwnedOne) {
  TextArray songs;
  EXPECT_EQ(songs.Block(), StaticEmptyArray());
  songs.Append(TextValue::Copy("a.mp3"));
  EXPECT_NE(songs.Block(), StaticEmptyArray());
  EXPECT_FALSE(IsStaticValue(songs.Block()));
  EXPECT_EQ(songs.Count(), 1);
  EXPECT_EQ(ArrayCount(StaticEmptyArray()), 0);
  const auto* header = static_cast<const int32_t*>(songs.Block());
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 1);
}

TEST(ValueArray, KeepsOrderCopiesDeepAndRemovesInPlace) {
  TextArray a;
  for (const char* name : {"一", "二", "三"})
    a.Append(TextValue::Copy(name));
  TextArray b = a;
  EXPECT_NE(b.At(1).Pointer(), a.At(1).Pointer());
  b.RemoveAt(2);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_STREQ(b.At(1).Bytes(), "一");
  EXPECT_STREQ(b.At(2).Bytes(), "三");
  EXPECT_EQ(a.Count(), 3);
  a.Clear();
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Block(), StaticEmptyArray());
}

TEST(ValueArray, CountIsTheProductOfTheDimensions) {
  alignas(8) int32_t two_by_three[3 + 6] = {2, 2, 3};
  EXPECT_EQ(ArrayCount(two_by_three), 6);
  EXPECT_EQ(ArrayCount(nullptr), 0);
}

TEST(ValueArray, AppendingManyStaysCheap) {
  ValueArray<int32_t> numbers;
  for (int32_t i = 1; i <= 200000; i++)
    numbers.Append(i);
  EXPECT_EQ(numbers.Count(), 200000);
  EXPECT_EQ(numbers.At(200000), 200000);
  EXPECT_EQ(numbers.At(1), 1);
}

using ValueArrayDeath = testing::Test;

TEST(ValueArrayDeath, IndexBelowOneIsRuntimeError4) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TextArray songs;
  songs.Append(TextValue::Copy("a"));
  EXPECT_EXIT(songs.At(0), testing::ExitedWithCode(0),
              "MessageBox \\[error\\] program internal error number is 4\\. \\(0x4h\\)");
}

TEST(ValueArrayDeath, IndexAboveCountIsRuntimeError1) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TextArray songs;
  songs.Append(TextValue::Copy("a"));
  EXPECT_EXIT(songs.At(2), testing::ExitedWithCode(0), "program internal error number is 1\\. \\(0x1h\\)");
}

TEST(ValueArrayDeath, NegativeSizeIsRuntimeError10) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(TextArray::WithCount(-1), testing::ExitedWithCode(0),
              "program internal error number is 10\\. \\(0xAh\\)");
}

TEST(AllocBlockDeath, ExhaustedHeapShowsItsMessageAndEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(AllocBlock(SIZE_MAX / 4), testing::ExitedWithCode(0),
              std::string("MessageBox \\[error\\] ") + reinterpret_cast<const char*>(u8"内存不足"));
}

} // namespace
