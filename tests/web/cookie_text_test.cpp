#include "web/cookie_text.h"
#include "web/header_line.h"

#include <gtest/gtest.h>

namespace {

TEST(HeaderLine, SplitsAtTheFirstColonAndTrims) {
  struct Case {
    const char* line;
    const char* name;
    const char* value;
  } cases[] = {
      {"X-Pos: 10:20:30", "X-Pos", "10:20:30"},
      {"  X-Y :  z  ", "X-Y", "z"},
      {"no colon here", "", ""},
      {":value", "", "value"},
      {"Name:", "Name", ""},
      {"X-A: b:c", "X-A", "b:c"},
      {"　名字　:　值　", "名字", "值"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(HeaderName(c.line).Bytes(), c.name) << c.line;
    EXPECT_STREQ(HeaderValue(c.line).Bytes(), c.value) << c.line;
  }
}

TEST(CookieItem, SplitsAtTheFirstEqualsWithoutTrimming) {
  EXPECT_STREQ(CookieName("k=a=b").Bytes(), "k");
  EXPECT_STREQ(CookieValue("k=a=b").Bytes(), "a=b");
  EXPECT_STREQ(CookieName("flag").Bytes(), "");
  EXPECT_STREQ(CookieValue("flag").Bytes(), "");
  EXPECT_STREQ(CookieName(" k =v").Bytes(), " k ");
}

TEST(UniqueItems, KeepsFirstOccurrencesEachFollowedByTheSeparator) {
  EXPECT_STREQ(UniqueItems("a; b; a; c", "; ").Bytes(), "a; b; c; ");
  EXPECT_STREQ(UniqueItems("a; ; ; ", "; ").Bytes(), "a; ; ");
  EXPECT_STREQ(UniqueItems("", "; ").Bytes(), "");
}

TEST(MergeCookies, TheWorkedExample) {
  TextValue sent = TextValue::Copy("sid=1; lang=en");
  TextValue returned = TextValue::Copy("sid=2; theme=dark; lang=deleted; ");
  TextValue merged = MergeCookies(sent, returned);
  EXPECT_STREQ(sent.Bytes(), "sid=2; theme=dark; ");
  EXPECT_STREQ(returned.Bytes(), "sid=2;theme=dark;lang=deleted;");
  EXPECT_STREQ(merged.Bytes(), "sid=2; theme=dark; ");
  EXPECT_NE(merged.Pointer(), sent.Pointer());
}

TEST(MergeCookies, EdgeCases) {
  struct Case {
    const char* sent;
    const char* returned;
    const char* merged;
    const char* compact;
  } cases[] = {
      {"", "", "", ""},
      {"a=1", "", "a=1; ", ""},
      {"", "a=1; b=2; ", "a=1; b=2; ", "a=1;b=2;"},
      {"a=1;a=1", "", "a=1; ", ""},
      {"SID=1", "sid=2; ", "SID=1; sid=2; ", "sid=2;"},
      {"a=1", "a=1; a=2; ", "a=2; a=1; ", "a=1;a=2;"},
      {"x=deleted", "", "", ""},
      {"a=hello world", "", "a=helloworld; ", ""},
      {"", "a=1; ; ", "a=1; ; ", "a=1;;"},
      {"k", "", "k; ", ""},
  };
  for (const Case& c : cases) {
    TextValue sent = TextValue::Copy(c.sent);
    TextValue returned = TextValue::Copy(c.returned);
    MergeCookies(sent, returned);
    EXPECT_STREQ(sent.Bytes(), c.merged) << c.sent << " + " << c.returned;
    EXPECT_STREQ(returned.Bytes(), c.compact) << c.sent << " + " << c.returned;
  }
}

} // namespace
