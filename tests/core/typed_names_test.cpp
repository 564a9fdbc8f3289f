// Names typed for machines: 机器名.ini read with its bounds and written whole,
// the names put over every load by MAC, numbering, and the check's words.
#include <gtest/gtest.h>

#include <map>

#include "commands/commands.h"
#include "commands/list_check_text.h"
#include "core/fault_files.h"
#include "export/format_date_time.h"
#include "settings/typed_names.h"
#include "support/fake_window.h"
#include "support/gbk_literal.h"
#include "support/sqlite_fixture.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;
using Names = std::map<std::string, std::string>;  // canonical MAC text -> GBK name
using State = TypedNames::State;

Names Held(const TypedNames& names, const Names& asked) {
  Names held;
  for (const auto& [mac, name] : asked)
    if (const std::string* found = names.find(MacNumber(mac))) held[mac] = *found;
  return held;
}

std::string FileOf(const Texts& lines) {
  std::string text = G("; Venbrook 记下的手动命名，一行一台：MAC地址=新机器编号") + "\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Every shape of 机器名.ini: what is read, and whether the next save may
// rewrite it. A file left alone keeps its bytes through the save, and the
// names typed meanwhile are held all the same.
TEST(TypedNames, FileReadWithItsBoundsAndRewrittenOnlyWhenUnderstood) {
  const std::string a = "00-1A-2B-3C-4D-5E", b = "00-1A-2B-3C-4D-01";
  const struct {
    const char* what;
    std::string bytes;
    Names names;
    State state;
    int badLine;
  } cases[] = {
      {"our own file", FileOf({G("[机器名]"), a + "=" + G("A区01"), b + "="}), {{a, G("A区01")}, {b, ""}}, State::Kept, 0},
      {"a hand's forms of a MAC, blanks, LF ends, a comment, a machine twice (the first counts)",
       "[x]\n 00:1a:2b:3c:4d:5e =A01\n; mine\n\n001A2B3C4D5E=A02\n001a.2b3c.4d01=" + G("包间") + "\n",
       {{a, "A01"}, {b, G("包间")}}, State::Kept, 0},
      {"Unicode (UTF-16) from Notepad", test::Utf16File(u"[机器名]\r\n00-1A-2B-3C-4D-5E=A区01\r\n"),
       {{a, G("A区01")}}, State::Kept, 0},
      {"Unicode holding U+F8F5, which Windows writes as FF", test::Utf16File(u"00-1A-2B-3C-4D-5E=A\uF8F5\r\n"), {},
       State::NotUnderstood, 1},
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + a + "=A\xE5\x8C\xBA" "01\r\n", {{a, G("A区01")}}, State::Kept, 0},
      {"UTF-8 without a mark", a + "=A\xE5\x8C\xBA" "01\r\n", {{a, G("A区01")}}, State::Kept, 0},
      {"UTF-8 holding a character GBK lacks", a + "=A01\r\n" + b + "=J\xC3\xB6rg\r\n", {{a, "A01"}}, State::NotUnderstood, 2},
      {"GBK lines, a comment and a name, broken in the middle of a character",
       a + "=A01\r\n; \xB0\r\n" + b + "=A\xB0\r\n", {{a, "A01"}}, State::NotUnderstood, 2},
      {"binary: NUL bytes and noise", a + "=A01\r\n\x01\x02\0\0\xFF\xFE=\r\n"s, {{a, "A01"}}, State::NotUnderstood, 2},
      {"UTF-8 with a NUL in a name", a + "=A\xE5\x8C\xBA\r\n" + b + "=A\0B\r\n"s, {{a, G("A区")}},
       State::NotUnderstood, 2},
      {"a line that is no name", "PC01 " + a + "\r\n", {}, State::NotUnderstood, 1},
      {"a section not closed", a + "=A01\r\n[" + G("机器名") + "\r\n", {{a, "A01"}}, State::NotUnderstood, 2},
      {"a MAC that is no MAC", "00-1A-2B=A01\r\n", {}, State::NotUnderstood, 1},
      {"a name past the bound", a + "=" + std::string(513, 'n') + "\r\n" + b + "=" + std::string(512, 'n'),
       {{b, std::string(512, 'n')}}, State::NotUnderstood, 1},
      {"past the file's bound", a + "=A01\r\n" + std::string(TypedNames::kMaxFileBytes, ';'), {}, State::TooLarge, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempFolder dir;
    const auto file = dir / test::Utf8Name("机器名.ini");
    test::WriteBytes(file, c.bytes);
    TypedNames names(test::PathOf(file));
    names.read();
    EXPECT_EQ(names.state(), c.state);
    EXPECT_EQ(names.badLine(), c.badLine);
    EXPECT_EQ(Held(names, {{a, ""}, {b, ""}}), c.names);
    EXPECT_EQ(names.size(), c.names.size());

    names.set(MacNumber("00-00-00-00-00-07"), "N7");
    const bool rewritten = c.state == State::Kept;
    EXPECT_EQ(names.save(), rewritten);
    EXPECT_EQ(names.find(MacNumber("00-00-00-00-00-07")) != nullptr, true);
    if (!rewritten) {
      EXPECT_EQ(test::ReadBytes(file), c.bytes);
      continue;
    }
    // Written back in GBK, one form of MAC, in MAC order, comments kept.
    TypedNames again(test::PathOf(file));
    again.read();
    EXPECT_EQ(again.state(), State::Kept);
    EXPECT_EQ(Held(again, {{a, ""}, {b, ""}, {"00-00-00-00-00-07", ""}}).size(), c.names.size() + 1);
    EXPECT_EQ(test::ReadBytes(file).value_or("").find("00:1a"), std::string::npos);
  }
}

TEST(TypedNames, WrittenInOneFormInMacOrder) {
  test::TempFolder dir;
  TypedNames names(test::PathOf(dir / "names.ini"));
  names.read();  // no file yet: nothing, and free to write
  EXPECT_EQ(names.state(), State::Kept);
  names.set(MacNumber("00:1a:2b:3c:4d:5e"), G("A区02"));
  names.set(MacNumber("001A2B3C4D01"), G("A区01"));
  names.set(MacNumber("00-1a-2b-3c-4d-02"), "X");
  EXPECT_TRUE(names.drop(MacNumber("00-1A-2B-3C-4D-02")));
  EXPECT_FALSE(names.drop(MacNumber("00-1A-2B-3C-4D-02")));
  ASSERT_TRUE(names.save());
  EXPECT_EQ(test::ReadBytes(dir / "names.ini"),
            FileOf({G("[机器名]"), "00-1A-2B-3C-4D-01=" + G("A区01"), "00-1A-2B-3C-4D-5E=" + G("A区02")}));
}

TEST(Numbering, DefaultsAndNames) {
  const struct {
    int rows;
    int width;
  } widths[] = {{0, 2}, {1, 2}, {99, 2}, {100, 3}, {1000, 4}};
  for (const auto& w : widths) {
    const Numbering numbering = DefaultNumbering("A", w.rows);
    EXPECT_EQ(numbering.width, w.width) << w.rows;
    EXPECT_EQ(numbering.start, 1);
    EXPECT_EQ(numbering.prefix, "A");
  }
  const struct {
    Numbering numbering;
    long long offset;
    std::string name;
  } names[] = {
      {{G("A区"), 1, 2}, 0, G("A区01")}, {{"", 8, 2}, 1, "09"},     {{"", 8, 2}, 2, "10"},
      {{"PC", 0, 3}, 0, "PC000"},        {{"PC", 1, 1}, 123, "PC124"}, {{"", 999'999'999, 9}, 0, "999999999"},
  };
  for (const auto& n : names) EXPECT_EQ(NumberedName(n.numbering, n.offset), n.name) << n.name;
}

// The window as the commands see it, over a folder that is the program's:
// 机器名.ini lies there, and a new Commands is a restart.
class TypedNamingTest : public testing::Test {
 protected:
  void SetUp() override {
    window.path = lwdiskless;
    test::MakeYungengxinDatabase(lwdiskless, {{"PC01", "00-1a-2b-3c-4d-01"},
                                              {"PC02", "00-1a-2b-3c-4d-02"},
                                              {"PC03", "00-1a-2b-3c-4d-03"},
                                              {"PC04", ""}});
    commands->LoadDatabase();
  }
  Texts newNames() const {
    Texts names;
    for (int i = 0; i < list.count(); ++i) names.emplace_back(list.cellText(i, kNewNameColumn));
    return names;
  }
  std::unique_ptr<Commands> restart() {
    return std::make_unique<Commands>(window, list, connection, test::PathOf(dir.path()),
                                      ExportPlace{[this] { return test::PathOf(dir.path()); },
                                                  [] { return CalendarToAutomationDate(2025, 1, 2, 3, 4, 5); }});
  }
  std::string summary() const {
    ListFindings findings;
    findings.recompute(list);
    return CheckSummaryText(findings, list.typedCount(), TypedNamesNote(commands->typedNaming().names()));
  }

  test::TempFolder dir;
  test::FakeWindow window;
  MachineList list;
  SourceConnection connection;
  const std::string lwdiskless = dir.core() + "\\lwdiskless.db";
  const std::filesystem::path namesFile = dir / test::Utf8Name("机器名.ini");
  std::unique_ptr<Commands> commands = restart();
};

// A typed name stays over keystrokes in the rule's boxes, 重载, another
// file holding the machine with its MAC written otherwise, and a restart.
TEST_F(TypedNamingTest, ANameTypedStaysByMacAcrossEveryReload) {
  using Typed = TypedNaming::Typed;
  EXPECT_EQ(commands->nameTyped(1, G("前台")), Typed::Kept);
  EXPECT_EQ(commands->nameTyped(0, "PC01"), Typed::Unchanged);  // the name it has: nothing kept
  EXPECT_EQ(commands->nameTyped(3, "X"), Typed::NoMac);
  for (const char* refused : {"A\xFF", "A\r\nB", "A\xB0"}) EXPECT_EQ(commands->nameTyped(0, refused), Typed::Refused);
  EXPECT_EQ(newNames(), (Texts{"PC01", G("前台"), "PC03", "PC04"}));
  EXPECT_TRUE(list.isTyped(1));
  EXPECT_EQ(list.typedCount(), 1);

  window.rule.prefix = "WB-";
  commands->renameBoxEdited();
  EXPECT_EQ(newNames(), (Texts{"WB-PC01", G("前台"), "WB-PC03", "WB-PC04"}));
  commands->menuChosen(MenuCommand::Reload);
  EXPECT_EQ(newNames(), (Texts{"WB-PC01", G("前台"), "WB-PC03", "WB-PC04"}));

  const std::string csv = dir.core() + "\\machines.csv";
  test::WriteBytes(dir / "machines.csv", G("机器名,MAC地址\r\n二楼,00:1A:2B:3C:4D:02\r\n三楼,00-1a-2b-3c-4d-09\r\n"));
  window.path = csv;
  commands->LoadDatabase();
  EXPECT_EQ(newNames(), (Texts{G("前台"), G("WB-三楼")}));

  commands = restart();
  window.path = lwdiskless;
  commands->LoadDatabase();
  EXPECT_EQ(newNames(), (Texts{"WB-PC01", G("前台"), "WB-PC03", "WB-PC04"}));
  EXPECT_EQ(test::ReadBytes(namesFile), FileOf({G("[机器名]"), "00-1A-2B-3C-4D-02=" + G("前台")}));
  EXPECT_EQ(test::ReadBytes(dir / "config.ini"), std::nullopt);  // never written there
}

TEST_F(TypedNamingTest, NumberingTheSelectionOrEveryRowInListOrder) {
  window.rule.prefix = G("A区");
  commands->renameBoxEdited();
  list.setSelected(2, true);
  list.setSelected(0, true);
  window.numberingAnswers.push_back({"B", 7, 2});
  commands->menuChosen(MenuCommand::Number);
  ASSERT_EQ(window.numberings.size(), 1u);
  EXPECT_EQ(window.numberings[0].prefix, G("A区"));  // the prefix box's text, from 1, two digits
  EXPECT_EQ(window.numberings[0].start, 1);
  EXPECT_EQ(window.numberings[0].width, 2);
  EXPECT_EQ(newNames(), (Texts{"B07", G("A区PC02"), "B08", G("A区PC04")}));

  // None selected: every row; the row without a MAC takes no number. Cancel changes nothing.
  list.setSelected(0, false);
  list.setSelected(2, false);
  commands->menuChosen(MenuCommand::Number);
  EXPECT_EQ(newNames(), (Texts{"B07", G("A区PC02"), "B08", G("A区PC04")}));
  window.numberingAnswers.push_back({"", 9, 1});
  commands->menuChosen(MenuCommand::Number);
  EXPECT_EQ(newNames(), (Texts{"9", "10", "11", G("A区PC04")}));
  EXPECT_EQ(list.typedCount(), 3);

  // A machine listed twice keeps the first number it got.
  std::filesystem::create_directory(dir / "other");
  window.path = dir.core() + "\\other\\lwdiskless.db";
  test::MakeYungengxinDatabase(window.path, {{"PC01", "00-1a-2b-3c-4d-01"}, {"PC09", "00:1A:2B:3C:4D:01"},
                                             {"PC10", "00-1a-2b-3c-4d-10"}});
  commands->LoadDatabase();
  window.numberingAnswers.push_back({"C", 1, 2});
  commands->menuChosen(MenuCommand::Number);
  EXPECT_EQ(newNames(), (Texts{"C01", "C01", "C02"}));

  list.clear();  // nothing to number: no dialog
  commands->menuChosen(MenuCommand::Number);
  EXPECT_EQ(window.count("numbering"), 4);
}

// 恢复原名 gives the selected rows the name the last load's rule gave
// them, not the find text typed since (which waits for a load).
TEST_F(TypedNamingTest, RestoringUsesTheRuleOfTheLastLoad) {
  list.setSelected(1, true);  // nothing typed: nothing to restore, nothing written
  commands->menuChosen(MenuCommand::RestoreNames);
  EXPECT_FALSE(std::filesystem::exists(namesFile));
  list.setSelected(1, false);

  window.rule = {"WB-", "PC", ""};
  commands->renameBoxEdited();
  // A file without a list leaves the rows, and their rule, as they were.
  test::WriteBytes(dir / "notes.txt", "nothing here\r\n");
  window.path = dir.core() + "\\notes.txt";
  window.rule.prefix = "X-";
  commands->LoadDatabase();
  commands->nameTyped(0, "A");
  commands->nameTyped(2, "C");
  window.rule.find = "0";
  list.setSelected(0, true);
  list.setSelected(1, true);
  commands->menuChosen(MenuCommand::RestoreNames);
  EXPECT_EQ(newNames(), (Texts{"WB-01", "WB-02", "C", "WB-04"}));
  EXPECT_EQ(list.typedCount(), 1);
  EXPECT_EQ(test::ReadBytes(namesFile), FileOf({G("[机器名]"), "00-1A-2B-3C-4D-03=C"}));
}

TEST_F(TypedNamingTest, F2AndTheMenuOpenTheEditBoxThroughTheWindow) {
  EXPECT_TRUE(commands->listKeyPressed(kVirtualKeyF2, 0));
  EXPECT_FALSE(commands->listKeyPressed(kVirtualKeyF2, kShift));
  commands->menuChosen(MenuCommand::Rename);
  EXPECT_EQ(window.events, (Texts{"status0:" + G(" 总数:4"), "edit", "edit"}));
}

// The check line counts typed rows; a typed repeat is red like any; the
// tip says the name was typed.
TEST_F(TypedNamingTest, TheCheckCountsTypedNames) {
  EXPECT_EQ(summary(), G("检查：1 台需要注意（红色标出）\r\nMAC地址无效：1 台"));
  commands->nameTyped(0, "A");
  commands->nameTyped(1, "a");
  ListFindings findings;
  findings.recompute(list);
  EXPECT_EQ(summary(), G("检查：3 台需要注意（红色标出），手动命名 2 台\r\nMAC地址无效：1 台\r\n新机器编号重复：2 台"));
  EXPECT_EQ(FindingTipText(list, findings, 0), G("新机器编号与 PC02 相同\r\n手动命名"));
  EXPECT_EQ(FindingTipText(list, findings, 2), "");
  commands->nameTyped(1, "B");
  list.remove(3);
  EXPECT_EQ(summary(), G("检查：未发现重复或无效的条目，手动命名 2 台"));
}

// An unwritable 机器名.ini: the check line says so, the names hold for the
// run; written again once it can be.
TEST_F(TypedNamingTest, AnUnwritableFileIsSaidAndTheNamesHoldForTheRun) {
  test::WriteBytes(namesFile, FileOf({G("[机器名]")}));
  commands = restart();
  commands->LoadDatabase();
  std::filesystem::permissions(namesFile, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  commands->nameTyped(0, "A");
  EXPECT_EQ(summary(), G("检查：1 台需要注意（红色标出），手动命名 1 台\r\nMAC地址无效：1 台\r\n"
                         "机器名.ini 无法写入：手动命名只在本次运行有效"));
  window.rule.prefix = "x";
  commands->renameBoxEdited();
  EXPECT_EQ(newNames(), (Texts{"A", "xPC02", "xPC03", "xPC04"}));
  EXPECT_EQ(test::ReadBytes(namesFile), FileOf({G("[机器名]")}));

  std::filesystem::permissions(namesFile, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  commands->nameTyped(1, "B");
  EXPECT_EQ(TypedNamesNote(commands->typedNaming().names()), "");
  EXPECT_EQ(test::ReadBytes(namesFile), FileOf({G("[机器名]"), "00-1A-2B-3C-4D-01=A", "00-1A-2B-3C-4D-02=B"}));
}

// A file left alone says why on the check line, whatever the list holds.
TEST(TypedNamesNote, WordsForEachFileLeftAlone) {
  test::TempFolder dir;
  const auto file = dir / "names.ini";
  const struct {
    std::string bytes;
    std::string note;
  } cases[] = {
      {"", ""},
      {"x\r\n", G("机器名.ini 第 1 行无法识别，文件不会改写：新的手动命名只在本次运行有效")},
      {std::string(TypedNames::kMaxFileBytes + 1, ' '), G("机器名.ini 太大，没有读取，也不会改写：手动命名只在本次运行有效")},
  };
  for (const auto& c : cases) {
    test::WriteBytes(file, c.bytes);
    TypedNames names(test::PathOf(file));
    names.read();
    EXPECT_EQ(TypedNamesNote(names), c.note);
    EXPECT_EQ(CheckSummaryText(ListFindings{}, 0, TypedNamesNote(names)), c.note);
  }
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);  // a folder of the name: nothing to read
  TypedNames names(test::PathOf(file));
  names.read();
  EXPECT_EQ(TypedNamesNote(names), G("机器名.ini 无法读取，也不会改写：手动命名只在本次运行有效"));
  EXPECT_FALSE(names.save());
}

}  // namespace
}  // namespace venbrook
