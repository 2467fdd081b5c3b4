#include "kernel32/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace {

struct Case {
  const char* name;
  std::function<int(char*)> call;
  std::string expected;
};

TEST(wsprintfA, FieldTable) {
  const Case cases[] = {
      {"text and number", [](char* b) { return wsprintfA(b, "%s:%d", "abc", -5); }, "abc:-5"},
      {"gbk bytes copied as they are",
       [](char* b) { return wsprintfA(b, "\"%s\"\xB5\xB1\xD6\xD0", "\xD6\xD0\xCE\xC4\x95\x5C"); },
       "\"\xD6\xD0\xCE\xC4\x95\x5C\"\xB5\xB1\xD6\xD0"},
      {"two texts", [](char* b) { return wsprintfA(b, "\"%s\" \"%s\"", "user32", "GetMessageA"); },
       "\"user32\" \"GetMessageA\""},
      {"unsigned maximum", [](char* b) { return wsprintfA(b, "%u", 4294967295u); }, "4294967295"},
      {"int minimum", [](char* b) { return wsprintfA(b, "%d", INT_MIN); }, "-2147483648"},
      {"i like d", [](char* b) { return wsprintfA(b, "%i", 7); }, "7"},
      {"hex lower", [](char* b) { return wsprintfA(b, "%x", 255u); }, "ff"},
      {"hex upper", [](char* b) { return wsprintfA(b, "%X", 255u); }, "FF"},
      {"hex prefix", [](char* b) { return wsprintfA(b, "%#x", 255u); }, "0xff"},
      {"zero padded hex", [](char* b) { return wsprintfA(b, "%08X", 0xBEEFu); }, "0000BEEF"},
      {"width", [](char* b) { return wsprintfA(b, "%5d|", 42); }, "   42|"},
      {"left aligned", [](char* b) { return wsprintfA(b, "%-5d|", 42); }, "42   |"},
      {"zero padded negative", [](char* b) { return wsprintfA(b, "%05d", -42); }, "-0042"},
      {"long modifier", [](char* b) { return wsprintfA(b, "%ld %lu", -1, 1u); }, "-1 1"},
      {"precision of digits", [](char* b) { return wsprintfA(b, "%.3d", 7); }, "007"},
      {"character", [](char* b) { return wsprintfA(b, "[%c]", 'A'); }, "[A]"},
      {"percent", [](char* b) { return wsprintfA(b, "100%%"); }, "100%"},
      {"text precision", [](char* b) { return wsprintfA(b, "%.2s", "abc"); }, "ab"},
      {"text width", [](char* b) { return wsprintfA(b, "%4s|%-4s|", "ab", "cd"); }, "  ab|cd  |"},
      {"null text", [](char* b) { return wsprintfA(b, "%s", static_cast<const char*>(nullptr)); }, "(null)"},
      {"wide text", [](char* b) { return wsprintfA(b, "%ls", u"\u4E2D"); }, "\xD6\xD0"},
      {"unknown letter copied", [](char* b) { return wsprintfA(b, "%q"); }, "q"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char buffer[kFormatBufferBytes];
    int length = c.call(buffer);
    EXPECT_EQ(std::string(buffer), c.expected);
    EXPECT_EQ(length, static_cast<int>(c.expected.size()));
  }
}

TEST(wsprintfA, WritesAtMost1024BytesWithTheTerminator) {
  std::string long_text(3000, 'x');
  char buffer[kFormatBufferBytes + 16];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  EXPECT_EQ(wsprintfA(buffer, "%s%s", long_text.c_str(), "end"), kFormatBufferBytes - 1);
  EXPECT_EQ(buffer[kFormatBufferBytes - 2], 'x');
  EXPECT_EQ(buffer[kFormatBufferBytes - 1], '\0');
  EXPECT_EQ(buffer[kFormatBufferBytes], '#');
}

} // namespace
