#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

#include "commands/export_rows.h"
#include "export/format_date_time.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using Texts = std::vector<std::string>;

class ExportRowsTest : public testing::Test {
 protected:
  ExportRowsTest() { std::filesystem::create_directory(desktop); }

  void exportRows() { ExportRows(list, window, place); }
  std::string success(int n) const { return "info:" + G("成功导出") + std::to_string(n) + G("条数据至文件：") + path; }

  test::TempFolder dir;
  const std::filesystem::path desktop = dir / test::Utf8Name("桌面");
  const std::filesystem::path file = desktop / "202576090503.txt";
  std::string desktopFolder = test::CorePath(desktop);
  const std::string path = desktopFolder + "\\202576090503.txt";
  ExportPlace place{[this] { return Path::FromGbk(desktopFolder); },
                    [] { return CalendarToAutomationDate(2025, 7, 6, 9, 5, 3); }};
  MachineList list;
  test::FakeWindow window;
};

TEST_F(ExportRowsTest, AllRowsWhenNoneIsSelected) {
  list.append("PC01", G("网吧01"), "00-1A-2B-3C-4D-01");
  list.append("PC02", "WB02", "");  // empty MAC: the line starts with the space
  list.append("PC03", "", "00-1A-2B-3C-4D-03");
  exportRows();
  EXPECT_EQ(test::ReadBytes(file), "00-1A-2B-3C-4D-01 \xCD\xF8\xB0\xC9\x30\x31\r\n WB02\r\n00-1A-2B-3C-4D-03 \r\n");
  EXPECT_EQ(window.events, Texts{success(3)});
  EXPECT_EQ(list.count(), 3);
}

TEST_F(ExportRowsTest, SelectedRowsInListOrder) {
  for (int i = 0; i < 7; ++i) list.append("PC", "N" + std::to_string(i), "M" + std::to_string(i));
  list.setSelected(5, true);
  list.setSelected(2, true);
  exportRows();
  EXPECT_EQ(test::ReadBytes(file), "M2 N2\r\nM5 N5\r\n");
  EXPECT_EQ(window.events, Texts{success(2)});
  EXPECT_EQ(list.selectedCount(), 2);
}

TEST_F(ExportRowsTest, EmptyListIsRefusedWithoutAFile) {
  exportRows();
  EXPECT_EQ(window.events, Texts{"error:" + G("没有可导出的数据")});
  EXPECT_TRUE(std::filesystem::is_empty(desktop));
}

TEST_F(ExportRowsTest, AppendsToAFileOfTheSameName) {
  test::WriteBytes(file, "earlier line\r\nno line end");
  list.append("PC01", "WB01", "M1");
  exportRows();
  exportRows();  // the same second: the same file
  EXPECT_EQ(test::ReadBytes(file), "earlier line\r\nno line endM1 WB01\r\nM1 WB01\r\n");
  EXPECT_EQ(window.events, (Texts{success(1), success(1)}));
}

TEST_F(ExportRowsTest, LineBreaksInsideAFieldBecomeSpaces) {
  list.append("PC01", "WB\r\n01\n", "00-1A\r");
  exportRows();
  EXPECT_EQ(test::ReadBytes(file), "00-1A  WB  01 \r\n");
}

// An export of some megabytes is written a piece at a time: the file still
// holds every line once and in order, line breaks inside fields become
// spaces wherever they fall, and a line longer than any piece is whole.
TEST_F(ExportRowsTest, LargeExportIsEveryLineInOrder) {
  constexpr int kRows = 120'000;
  std::string expected;
  for (int i = 0; i < kRows; ++i) {
    const std::string n = std::to_string(i);
    std::string name = G("网吧") + n, mac = "00-1A-2B-" + n;
    if (i % 40'000 == 39'999) name.insert(2, "\r\n");  // one near the end of each third of the file
    if (i == 70'000) name = std::string(3'000'000, 'x');
    list.append("PC" + n, name, mac);
    for (char& c : name)
      if (c == '\r' || c == '\n') c = ' ';
    expected += mac + " " + name + "\r\n";
  }
  exportRows();
  EXPECT_EQ(window.events, Texts{success(kRows)});
  const auto written = test::ReadBytes(file);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->size(), expected.size());
  EXPECT_TRUE(*written == expected);  // not printed: megabytes
}

// A desktop whose name GBK cannot write: the file is written there, and the
// message names it exactly (the recorded GBK text shows '?' for ö).
TEST_F(ExportRowsTest, DesktopNamedOutsideGbk) {
  const std::filesystem::path jorg = dir / test::Utf8Name("Desktop-Jörg");
  std::filesystem::create_directory(jorg);
  place.desktopFolder = [&] { return test::PathOf(jorg); };
  list.append("PC01", "WB01", "M1");
  exportRows();
  EXPECT_EQ(test::ReadBytes(jorg / "202576090503.txt"), "M1 WB01\r\n");
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].file, test::PathOf(jorg / "202576090503.txt"));
  EXPECT_EQ(window.events[0], "info:" + G("成功导出1条数据至文件：") + desktopFolder.substr(0, desktopFolder.rfind('\\')) +
                                  "\\Desktop-J?rg\\202576090503.txt");
}

// The export's desktop is the system's: on Windows the desktop's known
// folder, natively $XDG_DESKTOP_DIR; a name GBK cannot write comes back
// exactly.
TEST(DesktopNow, IsTheSystemsDesktopFolder) {
#ifdef _WIN32
  const Path desktop = DesktopNow().desktopFolder();
  ASSERT_FALSE(desktop.empty());
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(desktop.utf16())));
#else
  test::TempFolder home;
  const std::filesystem::path jorg = home / test::Utf8Name("Jörg的桌面");
  std::filesystem::create_directory(jorg);
  const char* former = std::getenv("XDG_DESKTOP_DIR");
  const std::string kept = former ? former : "";
  setenv("XDG_DESKTOP_DIR", jorg.c_str(), 1);
  EXPECT_EQ(DesktopNow().desktopFolder(), test::PathOf(jorg));
  if (former) setenv("XDG_DESKTOP_DIR", kept.c_str(), 1);
  else unsetenv("XDG_DESKTOP_DIR");
#endif
}

TEST(ExportPath, OneSeparatorBetweenFolderAndName) {
  const double time = CalendarToAutomationDate(2025, 12, 16, 21, 45, 9);
  const auto gbk = [](const std::string& text) { return Path::FromGbk(text); };
  const auto utf8 = [](const char* text) { return Path::FromUtf8(text); };
  const struct {
    Path folder;
    double time;
    Path path;
  } cases[] = {
      {gbk("C:\\Users\\op\\Desktop"), time, gbk("C:\\Users\\op\\Desktop\\20251216214509.txt")},
      {gbk("C:\\"), time, gbk("C:\\20251216214509.txt")},
      {gbk("D:\\" + G("籠")), time, gbk("D:\\" + G("籠") + "\\20251216214509.txt")},  // 籠 ends in byte 5C
      {gbk(""), time, gbk("\\20251216214509.txt")},                                  // no desktop folder
      {gbk("C:\\Desktop"), -1e9, gbk("C:\\Desktop\\.txt")},                          // no calendar form
      {utf8("C:\\Users\\Jörg\\Desktop"), time, utf8("C:\\Users\\Jörg\\Desktop\\20251216214509.txt")},
      {utf8("D:\\😀\\"), time, utf8("D:\\😀\\20251216214509.txt")},
  };
  for (const auto& c : cases) {
    const ExportPlace place{[&] { return c.folder; }, [&] { return c.time; }};
    EXPECT_EQ(ExportPath(place), c.path);
  }
}

TEST_F(ExportRowsTest, FailedWriteIsReportedAndKeepsNothingHalfDone) {
  list.append("PC01", "WB01", "M1");
  list.append("PC02", "WB02", "M2");
  std::filesystem::create_directory(file);  // the export file's name is taken by a folder
  desktopFolder = test::CorePath(dir / "missing");
  const std::string missingPath = desktopFolder + "\\202576090503.txt";
  exportRows();
  desktopFolder = test::CorePath(desktop);
  exportRows();
  ASSERT_EQ(window.events.size(), 2u);
  for (const auto& [event, where] : {std::pair{window.events[0], missingPath}, std::pair{window.events[1], path}}) {
    EXPECT_EQ(event.rfind("error:" + G("导出失败"), 0), 0u) << event;
    EXPECT_EQ(event.substr(event.size() - where.size()), where);
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  EXPECT_TRUE(std::filesystem::is_empty(file));
}

#ifndef _WIN32
// The disk fills up in the middle of the second line: the file keeps its
// former content and the first line, and the message counts one line.
TEST_F(ExportRowsTest, DiskFullMidwayKeepsWholeLinesOnly) {
  const std::string former = "earlier line\r\n";
  test::WriteBytes(file, former);
  list.append("PC01", "WB01", "M1");  // 9 bytes
  list.append("PC02", "WB02", "M2");
  list.append("PC03", "WB03", "M3");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = former.size() + 9 + 4;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  exportRows();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(test::ReadBytes(file), former + "M1 WB01\r\n");
  EXPECT_EQ(window.events, Texts{"error:" + G("导出失败，只写入了1条数据（共3条）至文件：") + path});
}

// The same far into an export of several pieces: the file keeps the lines
// written whole before the disk filled, and the message counts exactly them.
TEST_F(ExportRowsTest, DiskFullInALaterPieceKeepsWholeLinesOnly) {
  constexpr int kRows = 100'000;
  std::string all;
  for (int i = 0; i < kRows; ++i) {
    const std::string n = std::to_string(i);
    list.append("PC" + n, "WB" + n, "00-1A-2B-" + n);
    all += "00-1A-2B-" + n + " WB" + n + "\r\n";
  }
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  for (const std::size_t limit : {all.size() / 3, all.size() / 2 + 7, all.size() - 1}) {
    SCOPED_TRACE(limit);
    std::filesystem::remove(file);
    window.events.clear();
    rlimit limited = saved;
    limited.rlim_cur = limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    exportRows();
    setrlimit(RLIMIT_FSIZE, &saved);
    const std::size_t whole = all.rfind('\n', limit - 1) + 1;
    const auto written = test::ReadBytes(file);
    ASSERT_TRUE(written);
    EXPECT_TRUE(*written == all.substr(0, whole));
    const auto lines = std::count(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(whole), '\n');
    EXPECT_EQ(window.events, Texts{"error:" + G("导出失败，只写入了") + std::to_string(lines) + G("条数据（共") +
                                   std::to_string(kRows) + G("条）至文件：") + path});
  }
  std::signal(SIGXFSZ, oldHandler);
}
#endif

}  // namespace
}  // namespace venbrook
