#include "model/text_codec.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/os.h"
#include "platform/path.h"
#include "platform/utf8.h"
#include "support/gbk_literal.h"

namespace venbrook {
namespace {

TEST(TextCodec, KnownGbkBytes) {
  const struct {
    const char* utf8;
    std::string gbk;
  } cases[] = {
      {"", ""},
      {"PC01 00-1A", "PC01 00-1A"},
      {"中文", "\xD6\xD0\xCE\xC4"},
      {"籠", "\xBB\x5C"},  // trail byte is a backslash
      {"癮", "\xB0\x61"},  // trail byte is 'a'
      {" 总数:", " \xD7\xDC\xCA\xFD:"},
      {"提示：", "\xCC\xE1\xCA\xBE\xA3\xBA"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.utf8;
  }
}

// The load converts every value into one buffer, and learns each character
// the first time it meets it: the bytes must not depend on what the buffer
// held before or on which values came first.
TEST(TextCodec, IntoAReusedBufferInAnyOrder) {
  const std::string values[] = {"网吧-PC01", "PC01", "二楼\xE0\xB8\x81", "", "\xC3", "VIP包间-017", "网吧"};
  std::vector<std::string> first;
  std::string buffer = "left over from the value before, longer than the next";
  for (const std::string& value : values) {
    Utf8ToGbkInto(value, buffer);
    first.push_back(buffer);
  }
  EXPECT_EQ(first[0], G("网吧") + "-PC01");
  EXPECT_EQ(first[2], G("二楼") + "?");
  EXPECT_EQ(first[4], "");  // not UTF-8: empty, whatever the buffer held
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = std::size(values); i-- > 0;) {
      EXPECT_EQ(Utf8ToGbk(values[i]), first[i]) << i;
      Utf8ToGbkInto(values[i], buffer);
      EXPECT_EQ(buffer, first[i]) << i;
    }
  }
}

TEST(TextCodec, HelpTextIs116GbkBytes) {
  EXPECT_EQ(G("1、支持云更新、网维大师数据库及其他机器列表文件\r\n\r\n2、支持选择导出\r\n\r\n"
              "3、支持批量添加前缀名\r\n\r\n4、支持批量修改机器名")
                .size(),
            116u);
}

// Under the products' rule anything but UTF-8 of one to three bytes a
// character empties the value; under every other source's, only ill-formed
// UTF-8 does, and a character beyond U+FFFF is what Windows makes of it.
TEST(TextCodec, ValueThatIsNotUtf8OfOneToThreeBytesIsEmptyAsAWhole) {
  const struct {
    const char* utf8;
    std::string anyCharacter;  // under Utf8Rule::AnyCharacter
  } cases[] = {
      {"\xC3", ""},                            // cut short
      {"PC\xC3", ""},                          //
      {"\x80PC", ""},                          // stray continuation byte
      {"PC\x80", ""},                          // the same after ASCII, which is copied as a run
      {"\xC0\xAF", ""},                        // overlong two-byte form
      {"\xE0\x80\xAF", ""},                    // overlong three-byte form
      {"\xED\xA0\x80", ""},                    // surrogate
      {"\xF4\x90\x80\x80", ""},                // past U+10FFFF
      {"\xE4\xB8", ""},                        // three-byte form cut short
      {"\xE4\x41\x41", ""},                    // second byte not a continuation
      {"PC\xF0\x9F\x98\x80", "PC??"},          // four-byte character (emoji)
      {"\xF0\xA0\x80\x80", "??"},              // four-byte CJK extension B character
      {"\xF0\x9F\x93\x8B\xE6\x9C\xBA\xE5\x99\xA8", "??" + G("机器")},  // 📋机器
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.utf8));
    EXPECT_FALSE(IsUtf8OfAtMostThreeBytes(c.utf8));
    EXPECT_EQ(Utf8ToGbk(c.utf8), "");
    EXPECT_EQ(Utf8ToGbk(c.utf8, Utf8Rule::AnyCharacter), c.anyCharacter);
    if (!c.anyCharacter.empty()) {
      EXPECT_EQ(Utf8ToGbk(c.utf8, Utf8Rule::AnyCharacter), os::ConvertUtf8ToGbk(c.utf8));  // Windows's own
    }
  }
  EXPECT_TRUE(IsUtf8OfAtMostThreeBytes("\xEF\xBF\xBF\xE0\xA0\x80\xC2\x80"));  // U+FFFF, U+0800, U+0080
}

TEST(TextCodec, CharactersGbkLacksBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToGbk(std::string("A\xE0\xB8\x81") + "B"), "A?B");          // Thai ko kai
  EXPECT_EQ(Utf8ToGbk(std::string("\xED\x95\x9C") + "中"), "?" + G("中"));  // Hangul han
}

// The one UTF-8 decoder: a character, or an ill-formed run as long as the
// start of a character found there; a surrogate only where it is asked for.
TEST(Utf8Decoder, CharactersAndIllFormedRuns) {
  const struct {
    std::string text;
    Surrogates surrogates;
    Utf8Character expected;
  } cases[] = {
      {"\xE4\xB8\xAD", Surrogates::Refused, {U'中', 3, true}},
      {"\xF0\x9F\x98\x80", Surrogates::Refused, {U'\U0001F600', 4, true}},
      {"\xE4\xB8" "x", Surrogates::Refused, {U'\uFFFD', 2, false}},  // cut short: one run
      {"\xC0\xAF", Surrogates::Refused, {U'\uFFFD', 1, false}},      // overlong: the lead alone
      {"\xF4\x90\x80\x80", Surrogates::Refused, {U'\uFFFD', 1, false}},  // past U+10FFFF
      {"\xED\xA0\x80", Surrogates::Refused, {U'\uFFFD', 1, false}},
      {"\xED\xA0\x80", Surrogates::Kept, {0xD800, 3, true}},  // WTF-8, as Windows's file names
  };
  for (const auto& c : cases) {
    const Utf8Character got = DecodeUtf8(c.text, 0, c.surrogates);
    EXPECT_EQ(got.codePoint, c.expected.codePoint) << testing::PrintToString(c.text);
    EXPECT_EQ(got.length, c.expected.length) << testing::PrintToString(c.text);
    EXPECT_EQ(got.wellFormed, c.expected.wellFormed) << testing::PrintToString(c.text);
  }
}

// The code page 936 conversions give the same bytes in both builds: the
// Windows build's are Windows's own, the native build's a copy of them.
// Rows marked "Wine" are what Wine gives where Windows documents nothing;
// the others are documented: Microsoft's table for code page 936 (80 is the
// euro sign, FF and the areas GBK leaves to users are private-use
// characters), WideCharToMultiByte's WC_NO_BEST_FIT_CHARS (a character
// without an exact equivalent is the default '?'), and MultiByteToWideChar
// turning an ill-formed sequence into U+FFFD, which code page 936 lacks.
TEST(CodePage936, ConvertsAsWindowsDoes) {
  enum Direction { ToGbk, FromGbk };
  const struct {
    const char* what;
    Direction direction;
    std::string input, output;
  } cases[] = {
      {"the euro sign is one byte", ToGbk, "\xE2\x82\xAC", "\x80"},
      {"and back", FromGbk, "\x80", "\xE2\x82\xAC"},
      {"FF is a private-use character", FromGbk, "\xFF", "\xEF\xA3\xB5"},
      {"and back", ToGbk, "\xEF\xA3\xB5", "\xFF"},
      {"the users' areas: U+E000 is AAA1, U+E4C6 is A140", ToGbk, "\xEE\x80\x80\xEE\x93\x86", "\xAA\xA1\xA1\x40"},
      {"a pair GBK leaves empty is private-use too", FromGbk, "\xA2\xAB\xFE\xA0", "\xEE\x9D\xA6\xEE\xA1\xA4"},
      {"no best fit: katakana's middle dot is not GBK's", ToGbk, "\xE3\x83\xBB\xC2\xB7", "?\xA1\xA4"},
      {"beyond U+FFFF: two UTF-16 units, two '?'", ToGbk, "\xF0\x9F\x98\x80", "??"},
      {"a stray continuation byte is one '?', the good A kept", ToGbk, "\x80" "AB", "?AB"},
      {"Wine: a character cut short is one run", ToGbk, "\xE4\xB8" "A", "?A"},
      {"Wine: overlong, surrogate, past U+10FFFF: the lead takes one byte more", ToGbk,
       "\xE0\x80" "A\xED\xA0" "B\xF4\x90" "CD", "?A?B?CD"},
      {"Wine: a lead byte with too few bytes left takes them all", ToGbk, "A\xE4" "B", "A?"},
      {"Wine: a lead and any byte but NUL are one '?'", FromGbk, "\x81\x30\x81\x7F" "A", "??A"},
      {"Wine: a lead before NUL or the end is '?' alone", FromGbk, std::string("\x81\0A\x81", 4), std::string("?\0A?", 4)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.direction == ToGbk ? os::ConvertUtf8ToGbk(c.input) : os::ConvertGbkToUtf8(c.input), c.output);
  }
}

// A path keeps every character whatever code page could write it: each of
// its forms gives the others exactly, and GBK only where GBK has them all.
TEST(PathForms, EachFormGivesTheOthers) {
  const struct {
    const char* what;
    std::string utf8;
    std::u16string utf16;
    std::optional<std::string> gbk;
  } cases[] = {
      {"ASCII", "C:\\Venbrook\\config.ini", u"C:\\Venbrook\\config.ini", "C:\\Venbrook\\config.ini"},
      {"GBK characters, one whose trail byte is 0x5C", "D:\\网吧\\籠\\lwdiskless.db",
       u"D:\\网吧\\籠\\lwdiskless.db", "D:\\\xCD\xF8\xB0\xC9\\\xBB\x5C\\lwdiskless.db"},
      {"a letter GBK has", "C:\\Users\\Jürgen", u"C:\\Users\\Jürgen", "C:\\Users\\J\xA8\xB9rgen"},
      {"a letter GBK lacks", "C:\\Users\\Jörg", u"C:\\Users\\Jörg", std::nullopt},
      {"an emoji: a surrogate pair", "D:\\😀\\barserver.db", u"D:\\😀\\barserver.db", std::nullopt},
      {"an ideograph of CJK extension B", "D:\\𠀀", u"D:\\𠀀", std::nullopt},
      {"a lone surrogate, which Windows allows in a name", "C:\\\xED\xA0\x80x", u"C:\\\xD800x", std::nullopt},
      {"the euro sign: one byte in code page 936", "C:\\€", u"C:\\€", "C:\\\x80"},
      {"empty", "", u"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Path::FromUtf8(c.utf8).utf16(), c.utf16);
    EXPECT_EQ(Path::FromUtf16(c.utf16).utf8(), c.utf8);
    EXPECT_EQ(Path::FromUtf8(c.utf8).gbk(), c.gbk);
    if (c.gbk) {
      EXPECT_EQ(Path::FromGbk(*c.gbk).utf8(), c.utf8);
    }
  }
  EXPECT_EQ(Path::FromUtf8("C:\\Users\\Jörg한").gbkShown(), "C:\\Users\\J?rg?");
  // Bytes that start no UTF-8 character: cut short, a stray byte, overlong forms, past U+10FFFF.
  EXPECT_EQ(Path::FromUtf8("C:\\\xC3x\xF8").utf16(), u"C:\\\xFFFDx\xFFFD");
  EXPECT_EQ(Path::FromUtf8("\xC0\xAF\xE0\x80\xAF\xF4\x90\x80\x80").utf16(), std::u16string(9, u'\xFFFD'));
}

}  // namespace
}  // namespace venbrook
