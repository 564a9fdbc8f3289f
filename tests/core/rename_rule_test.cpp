#include "model/rename_rule.h"

#include <gtest/gtest.h>

#include "model/gbk_text.h"
#include "support/gbk_literal.h"

namespace venbrook {
namespace {

// Texts are written in UTF-8 here and turned into GBK before use; one that
// is not UTF-8 (a lone lead byte) is taken as GBK bytes as it stands.
std::string AsGbk(const char* text) { return IsUtf8OfAtMostThreeBytes(text) ? G(text) : std::string(text); }

TEST(RenameRule, NewName) {
  const struct {
    const char* prefix;
    const char* find;
    const char* replacement;
    const char* name;
    const char* expected;
  } cases[] = {
      {"", "pc", "WB", "PC01", "WB01"},      // letters match in either case
      {"", "pc", "WB", "pc-Pc", "WB-WB"},    //
      {"", "pc", "WB", "NB01", "NB01"},      // no match: the name unchanged
      {"", "0", "", "A001", "A1"},           // every occurrence removed
      {"", "aa", "b", "aaa", "ba"},          // no overlaps, left to right
      {"", "a", "aa", "a", "aa"},            // the inserted text is not searched again
      {"", "", "X", "PC01", "PC01"},         // empty find text: only the prefix applies
      {"WB-", "", "", "PC01", "WB-PC01"},    //
      {"PC-", "PC", "0", "PC01", "PC-001"},  // the prefix is never searched
      {"WB-", "PC", "0", "PC01", "WB-001"},  //
      {"WB-", "PC", "0", "", "WB-"},         // empty name: the prefix alone
      {"", "PC01", "", "PC01", ""},          // an empty new name is valid
      {"", "PC0100", "x", "PC01", "PC01"},   // find text longer than the name
      {"网吧", "一楼", "二楼", "一楼01", "网吧二楼01"},
      {"", "乤", "x", "丄乤", "丄x"},  // 81 61 vs 81 41: a double-byte character matches exactly
      {"", "1", "2", "PC01\x81", "PC02\x81"},  // a lead byte with nothing after it stays as it is
  };
  for (const auto& c : cases) {
    const RenameRule rule{AsGbk(c.prefix), AsGbk(c.find), AsGbk(c.replacement)};
    EXPECT_EQ(rule.newName(AsGbk(c.name)), AsGbk(c.expected)) << c.prefix << "|" << c.find << "|" << c.name;
  }
}

TEST(ReplaceAll, NeverMatchesInsideADoubleByteCharacter) {
  const std::string cage = G("籠");  // BB 5C: its trail byte is a backslash
  ASSERT_EQ(cage, "\xBB\x5C");
  EXPECT_EQ(replaceAll(cage + "a", "\\a", "X"), cage + "a");
  EXPECT_EQ(replaceAll(cage + "\\a", "\\a", "X"), cage + "X");
  const std::string trailA = G("癮");  // B0 61: its trail byte is 'a'
  ASSERT_EQ(trailA, "\xB0\x61");
  EXPECT_EQ(replaceAll(trailA + "A", "a", "-"), trailA + "-");
  EXPECT_EQ(replaceAll(trailA, "A", "-"), trailA);
}

TEST(UpperAscii, ChangesOnlySingleByteLetters) {
  EXPECT_EQ(upperAscii("00:1a:2b:3c:4d:5e"), "00:1A:2B:3C:4D:5E");
  EXPECT_EQ(upperAscii("az-AZ_09@[`{"), "AZ-AZ_09@[`{");
  EXPECT_EQ(upperAscii(G("癮a乤")), G("癮A乤"));  // trail bytes 'a' stay
  EXPECT_EQ(upperAscii(""), "");
}

}  // namespace
}  // namespace venbrook
