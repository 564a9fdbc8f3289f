// config.ini that cannot be written or read, written by other hands, or
// holding very long values: the path box and the loads work as always, and
// nothing else the file holds is lost.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

#include "commands/database_location.h"
#include "core/fault_files.h"
#include "settings/profile_file.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using Texts = std::vector<std::string>;
using std::filesystem::perms;

class SettingsFaultsTest : public testing::Test {
 protected:
  std::unique_ptr<DatabaseLocation> locationIn(const std::string& programFolder) {
    return std::make_unique<DatabaseLocation>(window, window, window, Path::FromGbk(programFolder),
                                              [] { return Path::FromUtf8("C:\\Desktop"); },
                                              [this] { window.events.push_back("load:" + window.path); });
  }
  std::string read(const std::filesystem::path& ini) const {
    return ReadIniValue(test::PathOf(ini), "config", "data", DatabaseLocation::kSettingBufferBytes);
  }
  void expectDialogAndNoChange(const std::function<void()>& spoil, const std::function<void()>& mend);
  void makeReadOnly(const std::filesystem::path& file, bool readOnly) {
    std::filesystem::permissions(file, perms::owner_write | perms::group_write | perms::others_write,
                                 readOnly ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
  }

  test::TempFolder dir;
  test::FakeWindow window;
  const std::filesystem::path ini = dir / "config.ini";
  const std::string stored = "D:\\" + G("网吧") + "\\lwdiskless.db";
  const std::string content = "[other]\r\nx=1\r\n[config]\r\ndata=" + stored + "\r\n";
};

// A read-only config.ini is read, never written: the stored path is shown
// and loaded, a new path in the box is loaded but not saved, and the file
// keeps its bytes and its time.
TEST_F(SettingsFaultsTest, ReadOnlyFileIsReadButNeverWritten) {
  test::WriteBytes(ini, content);
  makeReadOnly(ini, true);
  const auto before = test::FolderState(dir.path());
  auto location = locationIn(dir.core());
  location->LoadConfiguredDatabase();
  window.path = "D:\\new\\barserver.db";
  location->StorePathAndLoad();
  EXPECT_EQ(window.events, (Texts{"show:" + stored, "load:" + stored, "load:" + stored, "load:D:\\new\\barserver.db"}));
  EXPECT_EQ(test::FolderState(dir.path()), before);  // no temporary file either
  makeReadOnly(ini, false);
}

// A config.ini that cannot be read counts as no saved path: the dialog
// opens. What the file holds stays, since writing it anew would lose it.
void SettingsFaultsTest::expectDialogAndNoChange(const std::function<void()>& spoil, const std::function<void()>& mend) {
  const auto before = test::FolderState(dir.path());
  spoil();
  auto location = locationIn(dir.core());
  location->LoadConfiguredDatabase();
  window.path = "D:\\typed\\lwdiskless.db";
  location->StorePathAndLoad();
  mend();
  EXPECT_EQ(window.events, (Texts{"show:", "load:", "dialog", "load:D:\\typed\\lwdiskless.db"}));
  EXPECT_EQ(test::FolderState(dir.path()), before);
}

TEST_F(SettingsFaultsTest, FileThatIsAFolderReadsAsNoPath) {
  std::filesystem::create_directory(ini);
  expectDialogAndNoChange([] {}, [] {});
}

TEST_F(SettingsFaultsTest, UnreadableFileReadsAsNoPathAndKeepsItsContent) {
  test::WriteBytes(ini, content);
#ifdef _WIN32
  HANDLE held = INVALID_HANDLE_VALUE;  // a program that shares it with nobody
  expectDialogAndNoChange(
      [&] {
        held = CreateFileW(ini.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
      },
      [&] { CloseHandle(held); });
#else
  if (test::RunningAsRoot()) GTEST_SKIP() << "root reads files without read permission";
  expectDialogAndNoChange([&] { std::filesystem::permissions(ini, perms::none); },
                          [&] { std::filesystem::permissions(ini, perms::owner_read | perms::owner_write); });
#endif
}

// Files laid out by other hands: the value is found, and a write changes the
// one line of the key (or adds it) and leaves every other byte where it was.
TEST_F(SettingsFaultsTest, ForeignLayoutsKeepEveryOtherByte) {
  const std::string megabyteLine = "blob=" + std::string(1 << 20, 'z');
  const std::string longComment = "; " + std::string(100000, 'c');
  const std::string written = "D:\\new\\lwdiskless.db";
  const std::u16string u16written = u"D:\\new\\lwdiskless.db";
  const struct {
    const char* what;
    std::string content, value, afterWrite;
  } cases[] = {
      {"other sections, comments, odd spacing and case, no final line end",
       "; Venbrook\r\n[other]\r\ndata=no\r\n\r\n  [ Config ]  \r\n  DATA  =   \"D:\\old\\lwdiskless.db\"   \r\nkeep=1\r\n[tail]\r\nx=1",
       "D:\\old\\lwdiskless.db",
       "; Venbrook\r\n[other]\r\ndata=no\r\n\r\n  [ Config ]  \r\ndata=" + written + "\r\nkeep=1\r\n[tail]\r\nx=1"},
      {"a megabyte line before, a long comment after, no final line end",
       "[other]\r\n" + megabyteLine + "\r\n[config]\r\ndata=D:\\x\\barserver.db\r\n" + longComment,
       "D:\\x\\barserver.db", "[other]\r\n" + megabyteLine + "\r\n[config]\r\ndata=" + written + "\r\n" + longComment},
      {"line feeds only, key missing, a long line without '=' in the section",
       "[config]\nnote " + std::string(20000, 'q') + "\nother=1\n\n[next]\ny=2\n", "",
       "[config]\nnote " + std::string(20000, 'q') + "\nother=1\ndata=" + written + "\n\n[next]\ny=2\n"},
      {"the section twice: the first one counts",
       "[config]\r\ndata=first\r\n[config]\r\ndata=second\r\n", "first",
       "[config]\r\ndata=" + written + "\r\n[config]\r\ndata=second\r\n"},
      {"no section of that name, text ending in a bare line end",
       "[Settings]\r\ndata=x\r", "", "[Settings]\r\ndata=x\r\r\n[config]\r\ndata=" + written + "\r\n"},
      {"a UTF-8 byte-order mark: the first line is no section",
       "\xEF\xBB\xBF[config]\r\ndata=D:\\bom\\lwdiskless.db\r\n", "",
       "\xEF\xBB\xBF[config]\r\ndata=D:\\bom\\lwdiskless.db\r\n[config]\r\ndata=" + written + "\r\n"},
      {"Notepad's Unicode, UTF-16 with its mark: written back as UTF-16, one line changed",
       test::Utf16File(u"; 网吧\r\n[config]\r\ndata=D:\\old\\lwdiskless.db\r\n[tail]\r\nx=1"),
       "D:\\old\\lwdiskless.db", test::Utf16File(u"; 网吧\r\n[config]\r\ndata=" + u16written + u"\r\n[tail]\r\nx=1")},
      {"UTF-16 that an older version took for GBK and appended to: written whole, as UTF-16",
       test::Utf16File(u"[config]\r\ndata=D:\\old\\lwdiskless.db\r\n") + "\n[config]\ndata=D:\\" + G("网吧") + "\n",
       "D:\\old\\lwdiskless.db",
       test::Utf16File(u"[config]\r\ndata=" + u16written + u"\r\n\n[config]\ndata=D:\\网吧\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteBytes(ini, c.content);
    EXPECT_EQ(read(ini), c.value);
    EXPECT_TRUE(WriteIniValue(test::PathOf(ini), "config", "data", written));
    EXPECT_TRUE(test::ReadBytes(ini) == c.afterWrite);
    EXPECT_EQ(read(ini), written);
  }
}

// Stored values up to 10,239 bytes are read whole; longer ones are cut to
// 10,239 bytes, or one less where the last would be half of a double-byte
// character. The box then holds the cut path, and config.ini follows the box.
TEST_F(SettingsFaultsTest, LongStoredPaths) {
  const std::string wang = G("网");
  std::string wangs;
  while (wangs.size() < 10240) wangs += wang;
  const struct {
    std::string stored, read;
  } cases[] = {
      {std::string(10238, 'p'), std::string(10238, 'p')},
      {std::string(10239, 'p'), std::string(10239, 'p')},
      {std::string(10240, 'p'), std::string(10239, 'p')},
      {std::string(100000, 'p'), std::string(10239, 'p')},
      {wangs, wangs.substr(0, 10238)},              // 网 at bytes 10238-10239: left out whole
      {"a" + wangs, "a" + wangs.substr(0, 10238)},  // 网 ends at byte 10239: kept
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.size());
    test::WriteBytes(ini, "[config]\r\ndata=" + c.stored + "\r\n[after]\r\nz=1\r\n");
    EXPECT_TRUE(read(ini) == c.read) << read(ini).size();
  }

  test::WriteBytes(ini, "[config]\r\ndata=C:\\" + std::string(20000, 'p') + "\r\n[after]\r\nz=1\r\n");
  window.events.clear();
  locationIn(dir.core())->LoadConfiguredDatabase();
  const std::string cut = "C:\\" + std::string(10236, 'p');
  EXPECT_EQ(window.events, (Texts{"show:" + cut, "load:" + cut, "load:" + cut}));
  EXPECT_TRUE(test::ReadBytes(ini) == "[config]\r\ndata=" + cut + "\r\n[after]\r\nz=1\r\n");
}

// The program in a folder more than 260 characters deep keeps its settings
// there.
TEST_F(SettingsFaultsTest, ProgramFolderLongerThan260Characters) {
  std::filesystem::path deep = dir.path();
  for (int i = 0; deep.native().size() < 300; ++i) deep /= std::string(60, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  window.dialogAnswers = {stored};
  auto location = locationIn(test::CorePath(deep));
  location->LoadConfiguredDatabase();
  EXPECT_EQ(read(deep / "config.ini"), stored);
  window.events.clear();
  locationIn(test::CorePath(deep))->LoadConfiguredDatabase();
  EXPECT_EQ(window.events, (Texts{"show:" + stored, "load:" + stored, "load:" + stored}));
}

// The disk fills up while config.ini is saved: the save fails quietly and
// the former file stays whole, with no temporary file left beside it. A
// file-size limit stands for the full disk. A Windows program cannot set
// one: ctest runs this test alone under one (venbrook_core_tests_disk_full,
// tests/win32/file_size_limit.sh), where Wine's writes stop part-way.
TEST_F(SettingsFaultsTest, DiskFullWhileSavingKeepsTheFormerFile) {
  test::WriteBytes(ini, content);
  const auto before = test::FolderState(dir.path());
#ifdef _WIN32
  if (std::getenv("VENBROOK_FILE_SIZE_LIMIT_KB") == nullptr) GTEST_SKIP() << "run under a file-size limit by ctest";
  const bool savedPath = WriteIniValue(test::PathOf(ini), "config", "data", std::string(1 << 20, 'n'));
#else
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = content.size() + 10;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bool savedPath = WriteIniValue(test::PathOf(ini), "config", "data", std::string(100, 'n'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
#endif
  EXPECT_FALSE(savedPath);
  EXPECT_EQ(test::FolderState(dir.path()), before);
}

}  // namespace
}  // namespace venbrook
