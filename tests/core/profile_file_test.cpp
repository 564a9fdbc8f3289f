#include "sources/profile_file.h"

#include <gtest/gtest.h>

#include "support/gbk_literal.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

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
  for (const auto& c : cases) EXPECT_EQ(ProfileValue(c.content, "config", "data"), c.value) << c.content;
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
  }
  const std::string otherCase = WithProfileValue("[Config]\r\nDATA=old\r\n", "config", "data", "new");
  EXPECT_EQ(otherCase.find("old"), std::string::npos) << otherCase;
  EXPECT_EQ(otherCase.find('[', 1), std::string::npos) << otherCase;
}

TEST(ProfileFile, WriteThenReadOnDisk) {
  test::TempFolder dir;
  const std::string ini = dir.core() + "\\config.ini";
  EXPECT_EQ(ReadIniValue(ini, "config", "data", 10240), "");  // missing file
  const std::string path = "D:\\" + G("网吧\\籠") + "\\lwdiskless.db";
  EXPECT_TRUE(WriteIniValue(ini, "config", "data", path));
  EXPECT_EQ(ReadIniValue(ini, "config", "data", 10240), path);
  EXPECT_TRUE(WriteIniValue(ini, "config", "data", ""));
  EXPECT_EQ(test::ReadBytes(dir / "config.ini"), "[config]\r\ndata=\r\n");

  const std::string longValue(12000, 'x');
  EXPECT_TRUE(WriteIniValue(ini, "config", "data", longValue));
  EXPECT_EQ(ReadIniValue(ini, "config", "data", 10240), std::string(10239, 'x'));

  EXPECT_FALSE(WriteIniValue(dir.core() + "\\missing\\config.ini", "config", "data", "x"));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no stray temporary file
}

}  // namespace
}  // namespace venbrook
