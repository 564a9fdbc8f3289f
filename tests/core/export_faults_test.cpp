// Exports that cannot be written, or not wholly: the message box tells the
// truth about what reached the file, and what the file held before stays
// intact to the byte.
#include <gtest/gtest.h>

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

#include "commands/export_rows.h"
#include "core/fault_files.h"
#include "export/format_date_time.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using Texts = std::vector<std::string>;

class ExportFaultsTest : public testing::Test {
 protected:
  ExportFaultsTest() {
    std::filesystem::create_directory(desktop);
    for (int i = 1; i <= 3; ++i) list.append("PC0" + std::to_string(i), G("网吧0") + std::to_string(i), "M" + std::to_string(i));
  }

  void exportRows() { ExportRows(list, window, place); }
  std::string failure(int written, int of) const {
    return "error:" + G("导出失败，只写入了") + std::to_string(written) + G("条数据（共") + std::to_string(of) +
           G("条）至文件：") + path;
  }
  std::string success(int n) const { return "info:" + G("成功导出") + std::to_string(n) + G("条数据至文件：") + path; }
  std::string lines() const { return "M1 " + G("网吧01") + "\r\nM2 " + G("网吧02") + "\r\nM3 " + G("网吧03") + "\r\n"; }

  // Exports into a file that already holds `former`, with the file in the
  // way `spoil` leaves it: the message reports failure and the file keeps
  // its bytes. Once `mend` has run, the same export succeeds after them.
  template <typename Spoil, typename Mend>
  void expectRefusedThenAppended(Spoil spoil, Mend mend) {
    test::WriteBytes(file, former);
    spoil();
    if (IsSkipped() || HasFatalFailure()) return;
    exportRows();
    mend();
    EXPECT_EQ(window.events, Texts{failure(0, 3)});
    EXPECT_EQ(test::ReadBytes(file), former);
    exportRows();
    EXPECT_EQ(window.events.back(), success(3));
    EXPECT_EQ(test::ReadBytes(file), former + lines());
  }

  test::TempFolder dir;
  const std::filesystem::path desktop = dir / test::Utf8Name("桌面");
  const std::filesystem::path file = desktop / "202576090503.txt";
  std::string desktopFolder = test::CorePath(desktop);
  std::string path = desktopFolder + "\\202576090503.txt";
  ExportPlace place{[this] { return Path::FromGbk(desktopFolder); },
                    [] { return CalendarToAutomationDate(2025, 7, 6, 9, 5, 3); }};
  const std::string former = "00-1A-2B-3C-4D-5E " + G("一楼01") + "\r\nno line end";
  MachineList list;
  test::FakeWindow window;
};

// Another program holds the export file open and shuts writers out.
TEST_F(ExportFaultsTest, FileHeldOpenWithoutSharing) {
#ifdef _WIN32
  HANDLE held = INVALID_HANDLE_VALUE;
  for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    SCOPED_TRACE(share);
    window.events.clear();
    expectRefusedThenAppended(
        [&] {
          held = CreateFileW(file.wstring().c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
          ASSERT_NE(held, INVALID_HANDLE_VALUE);
        },
        [&] { CloseHandle(held); });
  }
#else
  int held = -1;
  expectRefusedThenAppended(
      [&] {
        held = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &lock), 0);  // a lock of its own open file, as another process holds one
      },
      [&] { ::close(held); });
#endif
}

// The file is read-only.
TEST_F(ExportFaultsTest, ReadOnlyFile) {
  using std::filesystem::perms;
  expectRefusedThenAppended(
      [&] {
        std::filesystem::permissions(file, perms::owner_write | perms::group_write | perms::others_write,
                                     std::filesystem::perm_options::remove);
        if (test::StillWritable(file)) {
          std::filesystem::permissions(file, perms::owner_write, std::filesystem::perm_options::add);
          GTEST_SKIP() << "this process writes read-only files (run by root)";
        }
      },
      [&] { std::filesystem::permissions(file, perms::owner_write, std::filesystem::perm_options::add); });
}

// The desktop folder is read-only. (On Windows only access rights, which Wine
// does not model, keep files out of a folder.)
TEST_F(ExportFaultsTest, ReadOnlyDesktopFolder) {
#ifdef _WIN32
  GTEST_SKIP() << "a folder's read-only attribute does not stop new files on Windows";
#else
  if (test::RunningAsRoot()) GTEST_SKIP() << "root writes into read-only folders";
  using std::filesystem::perms;
  std::filesystem::permissions(desktop, perms::owner_write | perms::group_write | perms::others_write,
                               std::filesystem::perm_options::remove);
  exportRows();
  std::filesystem::permissions(desktop, perms::owner_write, std::filesystem::perm_options::add);
  EXPECT_EQ(window.events, Texts{failure(0, 3)});
  EXPECT_TRUE(std::filesystem::is_empty(desktop));
#endif
}

// What the shell calls the desktop is a file, or is not there: nothing is
// created anywhere and the message says nothing was written. (The missing
// folder is also in ExportRowsTest.FailedWriteIsReportedAndKeepsNothingHalfDone.)
TEST_F(ExportFaultsTest, DesktopThatIsNoFolder) {
  test::WriteBytes(dir / "desk.txt", former);
  for (const std::string& folder : {test::CorePath(dir / "desk.txt"), test::CorePath(dir / "gone" / "deeper")}) {
    desktopFolder = folder;
    path = folder + "\\202576090503.txt";
    window.events.clear();
    exportRows();
    EXPECT_EQ(window.events, Texts{failure(0, 3)});
  }
  EXPECT_EQ(test::ReadBytes(dir / "desk.txt"), former);
  EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
  EXPECT_EQ(test::FolderState(dir.path()).size(), 2u);  // desk.txt and the empty desktop
  EXPECT_TRUE(std::filesystem::is_empty(desktop));
}

// A desktop more than 260 characters deep.
TEST_F(ExportFaultsTest, LongDesktopPath) {
  std::filesystem::path deep = desktop;
  for (int i = 0; deep.native().size() < 300; ++i) deep /= std::string(60, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  desktopFolder = test::CorePath(deep);
  path = desktopFolder + "\\202576090503.txt";
  exportRows();
  EXPECT_EQ(window.events, Texts{success(3)});
  EXPECT_EQ(test::ReadBytes(deep / "202576090503.txt"), lines());
}

#ifndef _WIN32
// The file-size limit stands for a disk that fills up: whatever the point
// where writing stops, the file holds its former bytes and then only whole
// new lines, exactly as many as the message says. (The export is some 2 MB,
// written in several pieces.)
TEST_F(ExportFaultsTest, DiskFillsUpPartWay) {
  constexpr int kRows = 60000;
  list.clear();
  std::string all;
  for (int i = 0; i < kRows; ++i) {
    const std::string n = std::to_string(i);
    list.append("PC" + n, G("网吧") + n, "00-1A-2B-3C-" + n);
    all += "00-1A-2B-3C-" + n + " " + G("网吧") + n + "\r\n";
  }
  const std::size_t firstLine = all.find('\n') + 1;
  const struct {
    const char* what;
    std::size_t limit;
  } cases[] = {
      {"full before the export", former.size()},
      {"the file already over the limit", former.size() / 2},
      {"room for one byte", former.size() + 1},
      {"room for exactly one line", former.size() + firstLine},
      {"exactly one megabyte", former.size() + (1 << 20)},
      {"just past one megabyte", former.size() + (1 << 20) + 7},
      {"half the lines", former.size() + all.size() / 2},
      {"all but the last byte", former.size() + all.size() - 1},
  };
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::WriteBytes(file, former);
    window.events.clear();
    rlimit limited = saved;
    limited.rlim_cur = c.limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    exportRows();
    setrlimit(RLIMIT_FSIZE, &saved);
    const auto bytes = test::ReadBytes(file);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->substr(0, former.size()), former);
    const std::string added = bytes->substr(former.size());
    EXPECT_EQ(all.substr(0, added.size()), added);
    const auto whole = static_cast<int>(std::count(added.begin(), added.end(), '\n'));
    EXPECT_TRUE(added.empty() || added.back() == '\n');
    EXPECT_LE(bytes->size(), std::max(c.limit, former.size()));
    EXPECT_EQ(window.events, Texts{failure(whole, kRows)});
  }
  std::signal(SIGXFSZ, oldHandler);
}

// A device that is always full: every write fails with "no space left".
TEST_F(ExportFaultsTest, DiskFullFromTheStart) {
  std::error_code error;
  std::filesystem::create_symlink("/dev/full", file, error);
  if (error) GTEST_SKIP() << "no /dev/full: " << error.message();
  exportRows();
  EXPECT_EQ(window.events, Texts{failure(0, 3)});
}
#endif

}  // namespace
}  // namespace venbrook
