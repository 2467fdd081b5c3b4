#include "kernel32/conversion.h"
#include "kernel32/last_error.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using namespace std::string_view_literals;

// Measures, then converts into a buffer with room to spare, so that a write
// past the count returned shows in the spare units.
std::u16string Decode(UINT codePage, std::string_view bytes, DWORD flags = 0) {
  int length = static_cast<int>(bytes.size());
  int needed = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
  if (needed <= 0)
    return u"<failed>";
  std::u16string out(static_cast<size_t>(needed) + 4, u'#');
  int written = MultiByteToWideChar(codePage, flags, bytes.data(), length, out.data(), needed + 4);
  EXPECT_EQ(written, needed);
  EXPECT_EQ(out.substr(static_cast<size_t>(needed)), u"####");
  out.resize(static_cast<size_t>(written > 0 ? written : 0));
  return out;
}

std::string Encode(UINT codePage, std::u16string_view units, DWORD flags = 0, LPCSTR defaultChar = nullptr) {
  int length = static_cast<int>(units.size());
  int needed = WideCharToMultiByte(codePage, flags, units.data(), length, nullptr, 0, defaultChar, nullptr);
  if (needed <= 0)
    return "<failed>";
  std::string out(static_cast<size_t>(needed) + 4, '#');
  int written = WideCharToMultiByte(codePage, flags, units.data(), length, out.data(), needed + 4,
                                    defaultChar, nullptr);
  EXPECT_EQ(written, needed);
  EXPECT_EQ(out.substr(static_cast<size_t>(needed)), "####");
  out.resize(static_cast<size_t>(written > 0 ? written : 0));
  return out;
}

struct DecodeCase {
  const char* name;
  std::string_view bytes;
  std::u16string_view units;
};

TEST(MultiByteToWideChar, Utf8TableWithMaximalSubpartReplacement) {
  const DecodeCase cases[] = {
      {"ascii", "Lyrics 1.0", u"Lyrics 1.0"},
      {"chinese", "\xE4\xB8\xAD", u"\u4E2D"},
      {"above U+FFFF becomes a surrogate pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"byte order mark passes as U+FEFF",
       "\xEF\xBB\xBF"
       "a",
       u"\uFEFFa"},
      {"zero byte inside", "a\0b"sv, u"a\0b"sv},
      {"truncated at the end", "\xE4\xB8", u"\uFFFD"},
      {"truncated before ascii",
       "\xE4\xB8"
       "A",
       u"\uFFFDA"},
      {"overlong two bytes", "\xC0\x80", u"\uFFFD\uFFFD"},
      {"overlong three bytes", "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"byte 0xFF",
       "a\xFF"
       "b",
       u"a\uFFFDb"},
      {"stray continuation bytes", "\x80\x80", u"\uFFFD\uFFFD"},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Decode(CP_UTF8, c.bytes), c.units);
  }
}

TEST(MultiByteToWideChar, Cp936TableIsTheWindowsOne) {
  const DecodeCase cases[] = {
      {"chinese", "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {"euro sign at 0x80", "\x80", u"\u20AC"},
      {"0xFF is private use", "\xFF", u"\uF8F5"},
      {"middle dot", "\xA1\xA4", u"\u00B7"},
      {"user-defined area", "\xAA\xA1", u"\uE000"},
      {"trail byte 0x5C", "\x95\x5C", u"\u661E"},
      {"lone lead byte at the end", "a\x81", u"a\u30FB"},
      {"lead byte before a digit",
       "\x81"
       "0",
       u"\u30FB"
       "0"},
      {"lead byte before 0x7F", "\x81\x7F", u"\u30FB\x7F"},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Decode(CP_GBK, c.bytes), c.units);
    EXPECT_EQ(Decode(CP_ACP, c.bytes), c.units);
  }
}

struct EncodeCase {
  const char* name;
  std::u16string_view units;
  DWORD flags;
  std::string_view bytes;
};

TEST(WideCharToMultiByte, Cp936TableDefaultCharacterAndComposition) {
  const EncodeCase cases[] = {
      {"chinese", u"\u4E2D\u6587", 0, "\xD6\xD0\xCE\xC4"},
      {"euro sign", u"\u20AC", 0, "\x80"},
      {"thai letter GBK lacks", u"a\u0E01b", 0, "a?b"},
      {"emoji: one default character per unit", u"\xD83D\xDE00", 0, "??"},
      {"byte order mark", u"\uFEFFa", 0, "?a"},
      {"lone surrogate",
       u"\xD800"
       "a",
       0, "?a"},
      {"precomposed e acute", u"\u00E9", 0, "\xA8\xA6"},
      {"best fit: A grave becomes a grave", u"\u00C0", 0, "\xA8\xA4"},
      {"no best fit when asked", u"\u00C0", WC_NO_BEST_FIT_CHARS, "?"},
      {"e and combining acute, each on its own", u"e\u0301", 0, "e?"},
      {"e and combining acute, composed", u"e\u0301", WC_COMPOSITECHECK, "\xA8\xA6"},
      {"u and diaeresis, composed", u"u\u0308!", WC_COMPOSITECHECK, "\xA8\xB9!"},
      {"a mark that composes with nothing", u"x\u0301", WC_COMPOSITECHECK, "x?"},
      {"a mark after a chinese character", u"\u4E2D\u0301", WC_COMPOSITECHECK, "\xD6\xD0?"},
      {"a lone ohm sign is no base and mark", u"\u2126", WC_COMPOSITECHECK, "?"},
  };
  for (const EncodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Encode(CP_GBK, c.units, c.flags), c.bytes);
  }
}

TEST(WideCharToMultiByte, Utf8Table) {
  const EncodeCase cases[] = {
      {"chinese", u"\u4E2D", 0, "\xE4\xB8\xAD"},
      {"surrogate pair", u"\xD83D\xDE00", 0, "\xF0\x9F\x98\x80"},
      {"lone high surrogate", u"\xD800", 0, "\xEF\xBF\xBD"},
      {"lone low surrogate before ascii",
       u"\xDC00"
       "a",
       0,
       "\xEF\xBF\xBD"
       "a"},
      {"byte order mark", u"\uFEFF", 0, "\xEF\xBB\xBF"},
  };
  for (const EncodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Encode(CP_UTF8, c.units, c.flags), c.bytes);
  }
}

TEST(WideCharToMultiByte, GivenDefaultCharacterAndItsReport) {
  EXPECT_EQ(Encode(CP_GBK, u"a\u0E01", 0, "*"), "a*");
  EXPECT_EQ(Encode(CP_GBK, u"\u0E01", 0, "\xA1\xF9"), "\xA1\xF9");
  char out[8] = {};
  BOOL used = -1;
  EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, u"\u4E2D", 1, out, 8, nullptr, &used), 2);
  EXPECT_EQ(used, FALSE);
  EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, u"\u0E01", 1, out, 8, nullptr, &used), 1);
  EXPECT_EQ(used, TRUE);
}

TEST(CodePageConversion, MinusOneCountsAndWritesTheTerminator) {
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xE4\xB8\xAD", -1, nullptr, 0), 2);
  char16_t wide[4] = {u'#', u'#', u'#', u'#'};
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xE4\xB8\xAD", -1, wide, 4), 2);
  EXPECT_EQ(std::u16string_view(wide, 3), u"\u4E2D\0#"sv);

  EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, u"\u4E2D", -1, nullptr, 0, nullptr, nullptr), 3);
  char narrow[5] = {'#', '#', '#', '#', '#'};
  ASSERT_EQ(WideCharToMultiByte(CP_GBK, 0, u"\u4E2D", -1, narrow, 5, nullptr, nullptr), 3);
  EXPECT_EQ(std::string_view(narrow, 4), "\xD6\xD0\0#"sv);

  // An empty text is its terminator alone.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "", -1, nullptr, 0), 1);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"", -1, nullptr, 0, nullptr, nullptr), 1);
}

TEST(CodePageConversion, BufferTooSmallFailsAndExactFits) {
  char16_t wide[2];
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab\xE4\xB8\xAD", 5, wide, 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xE4\xB8\xAD", 4, wide, 2), 2);

  char narrow[3];
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, u"a\u4E2D\u6587", 3, narrow, 3, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, u"a\u4E2D", 2, narrow, 3, nullptr, nullptr), 3);
}

TEST(CodePageConversion, RefusedCallsTable) {
  char16_t wide[8];
  char narrow[8];
  BOOL used = FALSE;
  struct Case {
    const char* name;
    std::function<int()> call;
    DWORD error;
  };
  const Case cases[] = {
      {"unknown code page", [&] { return MultiByteToWideChar(1252, 0, "a", 1, wide, 8); },
       ERROR_INVALID_PARAMETER},
      {"unknown code page back",
       [&] { return WideCharToMultiByte(1252, 0, u"a", 1, narrow, 8, nullptr, nullptr); },
       ERROR_INVALID_PARAMETER},
      {"null input", [&] { return MultiByteToWideChar(CP_UTF8, 0, nullptr, 1, wide, 8); },
       ERROR_INVALID_PARAMETER},
      {"zero length", [&] { return MultiByteToWideChar(CP_UTF8, 0, "a", 0, wide, 8); },
       ERROR_INVALID_PARAMETER},
      {"length below -1", [&] { return MultiByteToWideChar(CP_UTF8, 0, "a", -2, wide, 8); },
       ERROR_INVALID_PARAMETER},
      {"null output with capacity", [&] { return MultiByteToWideChar(CP_UTF8, 0, "a", 1, nullptr, 8); },
       ERROR_INVALID_PARAMETER},
      {"negative capacity",
       [&] { return WideCharToMultiByte(CP_GBK, 0, u"a", 1, narrow, -1, nullptr, nullptr); },
       ERROR_INVALID_PARAMETER},
      {"default character with UTF-8",
       [&] { return WideCharToMultiByte(CP_UTF8, 0, u"a", 1, narrow, 8, "?", nullptr); },
       ERROR_INVALID_PARAMETER},
      {"used-default report with UTF-8",
       [&] { return WideCharToMultiByte(CP_UTF8, 0, u"a", 1, narrow, 8, nullptr, &used); },
       ERROR_INVALID_PARAMETER},
      {"composite check with UTF-8",
       [&] { return WideCharToMultiByte(CP_UTF8, WC_COMPOSITECHECK, u"a", 1, narrow, 8, nullptr, nullptr); },
       ERROR_INVALID_FLAGS},
      {"precomposed flag with UTF-8",
       [&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, wide, 8); }, ERROR_INVALID_FLAGS},
      {"strict UTF-8 with an invalid byte",
       [&] { return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, wide, 8); },
       ERROR_NO_UNICODE_TRANSLATION},
      {"strict UTF-8 with a lone surrogate",
       [&] {
         return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"\xD800", 1, narrow, 8, nullptr, nullptr);
       },
       ERROR_NO_UNICODE_TRANSLATION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(c.call(), 0);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xE4\xB8\xAD", 4, wide, 8), 2);
}

TEST(LastError, IsPerThread) {
  SetLastError(ERROR_ACCESS_DENIED);
  DWORD seen_there = 1;
  std::thread([&] {
    seen_there = GetLastError();
    SetLastError(ERROR_FILE_NOT_FOUND);
  }).join();
  EXPECT_EQ(seen_there, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(PlatformTranscoding, Cp936AndUtf8BothWays) {
  EXPECT_EQ(platform::Cp936ToUtf8("\xD6\xD0\xCE\xC4 a"), "\xE4\xB8\xAD\xE6\x96\x87 a");
  EXPECT_EQ(platform::Utf8ToCp936("\xE4\xB8\xAD\xE0\xB8\x81"), "\xD6\xD0?");
  EXPECT_EQ(platform::Utf8ToCp936("\xE4\xB8"), "?");
  EXPECT_EQ(platform::Cp936ToUtf8(""), "");

  EXPECT_EQ(PlatformCp936ToUtf8("\xD6\xD0", -1, nullptr, 0), 4);
  char out[4];
  ASSERT_EQ(PlatformCp936ToUtf8("\xD6\xD0", -1, out, 4), 4);
  EXPECT_EQ(std::string_view(out, 4), "\xE4\xB8\xAD\0"sv);
  EXPECT_EQ(PlatformCp936ToUtf8("\xD6\xD0", -1, out, 3), 0);
}

// Every thread has its own converters; a shared one would mix up the states
// of conversions that run at the same time.
TEST(CodePageConversion, ThreadsConvertAtTheSameTime) {
  std::string page;
  for (int i = 0; i < 2000; i++)
    page += "\xE4\xB8\xAD\xE6\x96\x87 e\xCC\x81 \xF0\x9F\x98\x80 ";
  std::u16string wide = Decode(CP_UTF8, page);
  std::string expected = Encode(CP_GBK, wide, WC_COMPOSITECHECK);
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; t++) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 20; round++) {
        if (platform::FromUtf16(CP_GBK, platform::ToUtf16(CP_UTF8, page)).size() == 0 ||
            Encode(CP_GBK, Decode(CP_UTF8, page), WC_COMPOSITECHECK) != expected)
          mismatches[t]++;
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

} // namespace
