#include "window_test_support.h"

namespace user32_test {
namespace {

HINSTANCE Program() { return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x5000)); }

TEST(Resources, TheProgramsIconIsFoundByInstanceAndIdentifier) {
  const uint32_t pixels[4] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0x00000000};
  EXPECT_EQ(LoadIconA(Program(), MAKEINTRESOURCEA(129)), nullptr); // not yet registered
  ASSERT_TRUE(PlatformRegisterResourceIcon(Program(), 129, pixels, 2, 2));
  HICON icon = LoadIconA(Program(), MAKEINTRESOURCEA(129));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconA(Program(), MAKEINTRESOURCEA(129)), icon);
  const uint32_t* argb = nullptr;
  int width = 0, height = 0;
  ASSERT_TRUE(PlatformIconPixels(icon, &argb, &width, &height));
  EXPECT_EQ(width, 2);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(argb[2], 0xFFFF0000u);

  EXPECT_EQ(LoadIconA(Program(), MAKEINTRESOURCEA(130)), nullptr);
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(129)), nullptr);
  EXPECT_EQ(LoadIconA(Program(), "NAMED"), nullptr);
  EXPECT_FALSE(PlatformRegisterResourceIcon(Program(), 131, nullptr, 2, 2));
  EXPECT_FALSE(PlatformRegisterResourceIcon(Program(), 131, pixels, 0, 2));
}

TEST(Resources, SystemCursorsAndIconsExistWithoutPixels) {
  HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW));
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW)), arrow);
  EXPECT_NE(LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_IBEAM)), arrow);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  HICON application = LoadIconA(nullptr, MAKEINTRESOURCEA(IDI_APPLICATION));
  ASSERT_NE(application, nullptr);
  EXPECT_FALSE(PlatformIconPixels(application, nullptr, nullptr, nullptr));
}

} // namespace
} // namespace user32_test
