// Every file kept under tests/fixtures/lists/ read as the window reads it and
// held, machine by machine, against the list beside it (`F.expected`):
//
//   # what the file is and where its shape comes from
//   # outcome: list                  (or "# outcome: refused", and no machines)
//   00-E0-4C-68-10-01<TAB>A区01       one line a machine, in the list's order
//
// Names are written as their author wrote them (UTF-8) and compared as the
// list shows them: in GBK, '?' for a character GBK cannot write.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/mac_address.h"
#include "model/text_codec.h"
#include "sources/machine_source.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

namespace fs = std::filesystem;

struct Machine {
  std::int64_t mac;
  std::string name;  // GBK, as the list shows it
  bool operator==(const Machine&) const = default;
};

void PrintTo(const Machine& machine, std::ostream* out) {
  *out << CanonicalMacText(machine.mac) << ' ' << GbkToUtf8(machine.name);
}

// The path for a failure's message, whatever its characters.
std::string Shown(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return {utf8.begin(), utf8.end()};
}

struct Expected {
  bool refused = false;
  std::vector<Machine> machines;
};

Expected ReadExpected(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  Expected expected;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("#")) {
      if (line.find("outcome: refused") != std::string::npos) expected.refused = true;
      continue;
    }
    if (line.empty()) continue;
    const std::size_t tab = std::min(line.find('\t'), line.size());
    const std::string name = tab < line.size() ? line.substr(tab + 1) : std::string();
    expected.machines.push_back({MacNumber(line.substr(0, tab)), Utf8ToGbk(name, Utf8Rule::AnyCharacter)});
  }
  return expected;
}

// The fixtures in a stable order: every file with its expected list beside it.
std::vector<fs::path> Fixtures() {
  std::vector<fs::path> files;
  const fs::path folder(VENBROOK_LIST_FIXTURES);
  if (!fs::is_directory(folder)) return files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    fs::path expected = entry.path();
    expected += ".expected";
    if (entry.is_regular_file() && fs::exists(expected)) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(ListFixtures, EachFileLoadsAsItsExpectedList) {
  for (const fs::path& file : Fixtures()) {
    SCOPED_TRACE(Shown(file));
    fs::path expectedFile = file;
    expectedFile += ".expected";
    const Expected expected = ReadExpected(expectedFile);
    ASSERT_TRUE(std::all_of(expected.machines.begin(), expected.machines.end(),
                            [](const Machine& machine) { return machine.mac >= 0; }))
        << "a line of the expected list holds no MAC";

    SourceConnection connection;
    MachineList list;
    const ReadResult result = ReadMachines(connection, test::PathOf(file), RenameRule(), list);
    if (expected.refused) {
      EXPECT_EQ(result.outcome, LoadOutcome::NoList);
      EXPECT_FALSE(result.reason.empty()) << "a refusal says why";
      continue;
    }
    EXPECT_EQ(result.outcome, LoadOutcome::Loaded) << GbkToUtf8(result.reason.words);
    std::vector<Machine> read;
    for (int i = 0; i < list.count(); ++i)
      read.push_back({MacNumber(list.cellText(i, kMacColumn)), std::string(list.cellText(i, kMachineNameColumn))});
    EXPECT_EQ(read, expected.machines);
  }
}

// The reading of the expected lists themselves: a wrong parse here would
// pass every fixture unseen.
TEST(ListFixtures, AnExpectedListReadsItsOutcomeMachinesAndEmptyNames) {
  const test::TempFolder folder;
  const struct {
    const char* text;
    bool refused;
    std::vector<Machine> machines;
  } cases[] = {
      {"# a list\r\n# outcome: list\r\n00-E0-4C-68-10-01\t\xE4\xB8\x80\xE6\xA5\xBC 01\r\n\r\n00-e0-4c-68-10-02\t\n",
       false,
       {{0x00E04C681001, Gbk("一楼 01")}, {0x00E04C681002, ""}}},
      {"# outcome: refused\n", true, {}},
      {"00-E0-4C-68-10-03\n", false, {{0x00E04C681003, ""}}},  // no tab: no name
      {"00-E0-4C-68-10-04\t\xF0\x9F\x98\x80\n", false, {{0x00E04C681004, "??"}}},  // beyond GBK: as Windows shows it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const fs::path file = folder / "list.expected";
    std::ofstream(file, std::ios::binary) << c.text;
    const Expected expected = ReadExpected(file);
    EXPECT_EQ(expected.refused, c.refused);
    EXPECT_EQ(expected.machines, c.machines);
  }
}

}  // namespace
}  // namespace venbrook
