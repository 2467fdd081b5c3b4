#include "kernel32/module.h"
#include "ui/system_binding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(BoundFunction, BindsOnTheFirstCallAndCallsThrough) {
  BoundFunction<HMODULE(LPCSTR)> get_module_handle("kernel32", "GetModuleHandleA");
  EXPECT_FALSE(get_module_handle.IsBound());
  HMODULE program = get_module_handle(nullptr);
  EXPECT_EQ(program, GetModuleHandleA(nullptr));
  EXPECT_TRUE(get_module_handle.IsBound());
  EXPECT_EQ(get_module_handle.Address(), reinterpret_cast<void*>(&GetModuleHandleA));
  EXPECT_EQ(LoadedLibraryCount(), 0); // kernel32 was already there
}

TEST(BoundFunction, LoadsALibraryThatIsNotThereAndFreesItAtTheEnd) {
  BoundFunction<int(int, int)> add("bindfixture", "AddTwo");
  EXPECT_EQ(add(2, 3), 5);
  EXPECT_EQ(LoadedLibraryCount(), 1);
  BoundFunction<int()> by_ordinal("bindfixture", "#17");
  EXPECT_EQ(by_ordinal(), 17);
  EXPECT_EQ(LoadedLibraryCount(), 1); // now present: not loaded again
  BoundFunction<int(int, int)> cut("bindfixture", "AddTwo@@8");
  EXPECT_EQ(cut(40, 2), 42);
  FreeLoadedLibraries();
  EXPECT_EQ(LoadedLibraryCount(), 0);
}

class BindingDeath : public testing::Test {
protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(BindingDeath, AMissingLibraryShowsTheFirstMessageAndEnds) {
  BoundFunction<int()> missing("nosuchlib", "Anything");
  EXPECT_EXIT(missing(), testing::ExitedWithCode(0),
              "MessageBox \\[DLL ERROR\\] " + Utf8(u8"同目录下无法找到DLL文件:\"nosuchlib\".请与作者联系."));
}

TEST_F(BindingDeath, AMissingFunctionShowsTheSecondMessageWithTheNameAsPassed) {
  BoundFunction<int()> missing("kernel32", "NoSuchFunction@@x");
  EXPECT_EXIT(missing(), testing::ExitedWithCode(0),
              "MessageBox \\[DLL ERROR\\] " + Utf8(u8"无法定位DLL文件:\"kernel32\"当中的\"NoSuchFunction@@x\"函数."));
}

TEST_F(BindingDeath, ASingleAtIsPartOfTheName) {
  BoundFunction<int(int, int)> whole("bindfixture", "AddTwo@8");
  EXPECT_EXIT(whole(1, 2), testing::ExitedWithCode(0), Utf8(u8"当中的\"AddTwo@8\"函数."));
}

TEST_F(BindingDeath, ADeclarationWithAnotherArgumentCountIsRuntimeError6) {
  BoundFunction<int(int, int, int)> wrong("bindfixture", "AddTwo");
  EXPECT_EXIT(wrong(1, 2, 3), testing::ExitedWithCode(0), "program internal error number is 6\\. \\(0x6h\\)");
}

} // namespace
