#include "runtime/byte_set.h"
#include "runtime/message_box.h"
#include "user32/message_box.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Answer {
  int button = IDOK;
  std::string text;
  std::string caption;
  UINT type = 0;
  HWND owner = reinterpret_cast<HWND>(1);
};

int Respond(const PlatformMessageBox* box, void* context) {
  auto* answer = static_cast<Answer*>(context);
  answer->text = box->text;
  answer->caption = box->caption;
  answer->type = box->type;
  answer->owner = box->owner;
  return answer->button;
}

class ShowMessageBoxTest : public testing::Test {
protected:
  void SetUp() override { PlatformTestSetMessageBoxResponder(Respond, &answer); }
  void TearDown() override { PlatformTestSetMessageBoxResponder(nullptr, nullptr); }
  Answer answer;
};

TEST_F(ShowMessageBoxTest, TurnsValuesIntoTextWithTheDefaultTitleAndNoOwner) {
  struct Case {
    CommandArg message;
    const char* shown;
  } cases[] = {
      {CommandArg::Double(3.0), "3"},
      {CommandArg::Logical(true), "真"},
      {CommandArg::Logical(false), "假"},
      {CommandArg::Integer(12), "12"},
      {CommandArg::Text("完毕！"), "完毕！"},
      {CommandArg::Omitted(), ""},
  };
  for (const Case& c : cases) {
    ShowMessageBox(c.message, 0);
    EXPECT_EQ(answer.text, c.shown);
    EXPECT_EQ(answer.caption, "信息");
    EXPECT_EQ(answer.owner, nullptr);
  }
  ByteSet bytes = ByteSet::Copy("ab", 2);
  ShowMessageBox(CommandArg::Bytes(bytes.Block()), 0, TextRef("标题"));
  EXPECT_EQ(answer.text, "");
  EXPECT_EQ(answer.caption, "标题");
}

TEST_F(ShowMessageBoxTest, ReturnsTheButtonCountedFromZero) {
  struct Case {
    int button;
    int32_t expected;
  } cases[] = {{IDOK, 0}, {IDCANCEL, 1}, {IDABORT, 2}, {IDRETRY, 3}, {IDIGNORE, 4}, {IDYES, 5}, {IDNO, 6}, {0, -1}};
  for (const Case& c : cases) {
    answer.button = c.button;
    EXPECT_EQ(ShowMessageBox("x", 1), c.expected);
    EXPECT_EQ(answer.type, 1u);
  }
}

} // namespace
