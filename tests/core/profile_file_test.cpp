#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include "support/gbk_literal.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

// The same ASCII text as UTF-16 units: each case below also runs on the
// text of a UTF-16 file.
std::u16string Units(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

TEST(ProfileValue, FindsTheKeyOfTheSection) {
  const struct {
    const char* content;
    const char* value;
  } cases[] = {
      {"[config]\r\ndata=D:\\data\\barserver.db\r\n", "D:\\data\\barserver.db"},
      {"[config]\r\ndata=abc", "abc"},                                    // no final line end
      {"[config]\ndata=abc\n", "abc"},                                    // LF only
      {"[CONFIG]\r\nDaTa=abc\r\n", "abc"},                                // names in any case
      {"  [ config ]  \r\n  data  =   D:\\x y.db   \r\n", "D:\\x y.db"},  // odd spacing
      {"[config]\r\ndata=\"D:\\x.db\"\r\n", "D:\\x.db"},                  // one pair of quotes
      {"[config]\r\ndata=a=b\r\n", "a=b"},
      {"[other]\r\ndata=no\r\n[config]\r\nx=1\r\ndata=yes\r\n[more]\r\ndata=no\r\n", "yes"},
      {"[config]\r\ndata=\r\n", ""},
      {"[config]\r\ndatax=1\r\n", ""},  // missing key
      {"[configs]\r\ndata=1\r\n", ""},  // missing section
      {"data=1\r\n", ""},               // outside any section
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProfileValue(c.content, "config", "data"), c.value) << c.content;
    EXPECT_EQ(ProfileValue(Units(c.content), u"config", u"data"), Units(c.value)) << c.content;
  }
}

TEST(WithProfileValue, ChangesOnlyTheKey) {
  const struct {
    const char* content;
    const char* updated;
  } cases[] = {
      {"", "[config]\r\ndata=new\r\n"},
      {"[config]\r\ndata=old\r\n", "[config]\r\ndata=new\r\n"},
      {"[a]\r\nx=1\r\n[config]\r\nfoo=bar\r\ndata=old\r\nbaz=2\r\n[b]\r\ny=2",
       "[a]\r\nx=1\r\n[config]\r\nfoo=bar\r\ndata=new\r\nbaz=2\r\n[b]\r\ny=2"},
      {"[config]\r\nfoo=bar\r\n\r\n[b]\r\ny=2\r\n", "[config]\r\nfoo=bar\r\ndata=new\r\n\r\n[b]\r\ny=2\r\n"},
      {"[config]\r\nfoo=bar", "[config]\r\nfoo=bar\r\ndata=new\r\n"},
      {"[a]\nx=1", "[a]\nx=1\n[config]\ndata=new\n"},
  };
  for (const auto& c : cases) {
    const std::string updated = WithProfileValue(c.content, "config", "data", "new");
    EXPECT_EQ(updated, c.updated) << c.content;
    EXPECT_EQ(ProfileValue(updated, "config", "data"), "new");
    EXPECT_EQ(WithProfileValue(Units(c.content), u"config", u"data", u"new"), Units(c.updated)) << c.content;
  }
  const std::string otherCase = WithProfileValue("[Config]\r\nDATA=old\r\n", "config", "data", "new");
  EXPECT_EQ(otherCase.find("old"), std::string::npos) << otherCase;
  EXPECT_EQ(otherCase.find('[', 1), std::string::npos) << otherCase;
}

TEST(ProfileFile, WriteThenReadOnDisk) {
  test::TempFolder dir;
  const Path ini = test::PathOf(dir / "config.ini");
  EXPECT_EQ(ReadIniValue(ini, "config", "data", 10240), "");  // missing file
  const std::string path = "D:\\" + G("网吧\\籠") + "\\lwdiskless.db";
  EXPECT_TRUE(WriteIniValue(ini, "config", "data", path));
  EXPECT_EQ(ReadIniValue(ini, "config", "data", 10240), path);
  EXPECT_TRUE(WriteIniValue(ini, "config", "data", ""));
  EXPECT_EQ(test::ReadBytes(dir / "config.ini"), "[config]\r\ndata=\r\n");

  const std::string longValue(12000, 'x');
  EXPECT_TRUE(WriteIniValue(ini, "config", "data", longValue));
  EXPECT_EQ(ReadIniValue(ini, "config", "data", 10240), std::string(10239, 'x'));

  EXPECT_FALSE(WriteIniValue(test::PathOf(dir / "missing" / "config.ini"), "config", "data", "x"));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no stray temporary file
}

// config.ini in each encoding it may come in: the stored path is read
// exactly, and a write keeps the file in its own encoding with every other
// line as it was. A GBK file stays GBK, byte for byte, for any path GBK can
// write; a path GBK cannot write makes it UTF-16, as Windows keeps such a
// value. A file of two encodings is never appended to: written whole.
TEST(ProfileFile, PathsInEveryEncoding) {
  using namespace std::string_literals;
  const Path jorg = Path::FromUtf8("D:\\Jörg\\lwdiskless.db");
  const Path wangba = Path::FromUtf8("D:\\网吧\\barserver.db");
  const std::string lone(test::Utf16File(u"\xDC00").substr(2));  // a lone surrogate's bytes
  const struct {
    const char* what;
    std::string before;
    Path read, written;
    std::string after;
  } cases[] = {
      {"GBK and a path GBK can write, with 0x5C as a trail byte",
       "[other]\r\nx=" + G("一楼") + "\r\n[config]\r\ndata=D:\\" + G("籠") + "\\lwdiskless.db\r\n",
       Path::FromUtf8("D:\\籠\\lwdiskless.db"), wangba,
       "[other]\r\nx=" + G("一楼") + "\r\n[config]\r\ndata=D:\\" + G("网吧") + "\\barserver.db\r\n"},
      {"GBK and a path GBK cannot write: the whole file turns UTF-16",
       "[other]\r\nx=" + G("一楼") + "\r\n[config]\r\ndata=old\r\n", Path::FromUtf8("old"), jorg,
       test::Utf16File(u"[other]\r\nx=一楼\r\n[config]\r\ndata=D:\\Jörg\\lwdiskless.db\r\n")},
      {"an empty file and a path GBK cannot write", "", Path(), jorg,
       test::Utf16File(u"[config]\r\ndata=D:\\Jörg\\lwdiskless.db\r\n")},
      {"Notepad's Unicode stays UTF-16, also for a path GBK can write",
       test::Utf16File(u"; 注释\r\n[config]\r\ndata=D:\\Jörg\\lwdiskless.db\r\n"), jorg, wangba,
       test::Utf16File(u"; 注释\r\n[config]\r\ndata=D:\\网吧\\barserver.db\r\n")},
      {"UTF-16 big-endian, line feeds only, the key missing", test::Utf16File(u"[config]\nother=1\n", true), Path(),
       jorg, test::Utf16File(u"[config]\nother=1\ndata=D:\\Jörg\\lwdiskless.db\n", true)},
      {"UTF-16 with an emoji in the path and a lone surrogate elsewhere, kept",
       test::Utf16File(u"[x]\r\ny=") + lone + test::Utf16File(u"\r\n[config]\r\ndata=C:\\😀\r\n").substr(2),
       Path::FromUtf8("C:\\😀"), wangba,
       test::Utf16File(u"[x]\r\ny=") + lone +
           test::Utf16File(u"\r\n[config]\r\ndata=D:\\网吧\\barserver.db\r\n").substr(2)},
      {"UTF-16 with GBK lines that an older version appended: one text, written whole as UTF-16",
       test::Utf16File(u"[config]\r\ndata=D:\\Jörg\\lwdiskless.db\r\n") + "\n[config]\ndata=" + G("网吧") + "\n", jorg,
       wangba, test::Utf16File(u"[config]\r\ndata=D:\\网吧\\barserver.db\r\n\n[config]\ndata=网吧\n")},
      {"the same after UTF-16 without a final line end",
       test::Utf16File(u"[config]\r\ndata=D:\\Jörg\\lwdiskless.db") + "\r\n[config]\r\ndata=\r\n", jorg, wangba,
       test::Utf16File(u"[config]\r\ndata=D:\\网吧\\barserver.db\r\n[config]\r\ndata=\r\n")},
      {"the same appended to a lone mark", "\xFF\xFE\r\n[config]\r\ndata=\r\n", Path(), jorg,
       test::Utf16File(u"\r\n[config]\r\ndata=D:\\Jörg\\lwdiskless.db\r\n")},
      {"UTF-16 a byte short of its last unit", test::Utf16File(u"[config]\r\ndata=x\r\n") + "y", Path::FromUtf8("x"),
       jorg, test::Utf16File(u"[config]\r\ndata=D:\\Jörg\\lwdiskless.db\r\n\xFFFD")},
      {"NUL bytes without a mark: GBK without them, written whole",
       "[config]\r\n\0d\0ata=C:\\x.db\r\n\0"s, Path::FromUtf8("C:\\x.db"), wangba,
       "[config]\r\ndata=D:\\" + G("网吧") + "\\barserver.db\r\n"},
      {"a UTF-8 mark, a path GBK cannot write: UTF-8 lines and the GBK lines added to them, as UTF-16",
       "\xEF\xBB\xBF[config]\r\ndata=D:\\\xC3\xB6\r\n[config]\r\ndata=D:\\" + G("网吧") + "\r\n",
       Path::FromGbk("D:\\" + G("网吧")),
       jorg, test::Utf16File(u"[config]\r\ndata=D:\\Jörg\\lwdiskless.db\r\n[config]\r\ndata=D:\\网吧\r\n")},
  };
  test::TempFolder dir;
  const Path ini = test::PathOf(dir / "config.ini");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteBytes(dir / "config.ini", c.before);
    EXPECT_EQ(ReadIniPath(ini, "config", "data", 10240), c.read);
    EXPECT_TRUE(WriteIniPath(ini, "config", "data", c.written));
    EXPECT_EQ(test::ReadBytes(dir / "config.ini"), c.after);
    EXPECT_EQ(ReadIniPath(ini, "config", "data", 10240), c.written);
  }
}

// A path of a UTF-16 file is cut as Windows cuts it, in UTF-16 units, and
// never between the halves of a pair; as GBK text it shows '?' for what GBK
// lacks.
TEST(ProfileFile, LongPathsInUtf16) {
  test::TempFolder dir;
  const Path ini = test::PathOf(dir / "config.ini");
  const std::u16string emoji = u"😀";
  for (const std::size_t before : {10237u, 10238u}) {
    const std::u16string stored = std::u16string(before, u'p') + emoji + u"tail";
    test::WriteBytes(dir / "config.ini", test::Utf16File(u"[config]\r\ndata=" + stored + u"\r\n"));
    EXPECT_EQ(ReadIniPath(ini, "config", "data", 10240).utf16(), stored.substr(0, before == 10237 ? 10239 : 10238));
  }
  test::WriteBytes(dir / "config.ini", test::Utf16File(u"[config]\r\ndata=C:\\Jörg한\r\n"));
  EXPECT_EQ(ReadIniValue(ini, "config", "data", 10240), "C:\\J?rg?");
}

}  // namespace
}  // namespace venbrook
