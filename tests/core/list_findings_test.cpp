#include "model/list_findings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "commands/list_check_text.h"
#include "model/rename_rule.h"
#include "support/gbk_literal.h"

namespace venbrook {
namespace {

struct Row {
  std::string newName;  // UTF-8 in the table; the list gets GBK
  std::string mac;
  unsigned found;  // what the check must report for this row
};
constexpr unsigned MAC2 = kMacRepeated, BADMAC = kMacInvalid, NAME2 = kNewNameRepeated, NONAME = kNewNameEmpty;

TEST(ListFindings, MarksRepeatedAndInvalidMacsAndRepeatedAndEmptyNewNames) {
  const struct {
    const char* what;
    std::vector<Row> rows;
  } cases[] = {
      {"one MAC written seven ways",
       {{"A", "00-1A-2B-3C-4D-5E", MAC2}, {"B", "00:1a:2b:3c:4d:5e", MAC2}, {"C", "001A2B3C4D5E", MAC2},
        {"D", "001a.2b3c.4d5e", MAC2}, {"E", " 00 1A 2B 3C 4D 5E ", MAC2}, {"F", "0:1a:2b:3c:4d:5e", MAC2},
        {"G", "001a2b-3c4d5e", MAC2}}},
      {"bytes without their leading zeros", {{"A", "0:e0:4c:1:2:3", MAC2}, {"B", "00-E0-4C-01-02-03", MAC2}}},
      {"MACs that differ in one digit, or only in the first bytes",
       {{"A", "00-1A-2B-3C-4D-5E", 0}, {"B", "00-1A-2B-3C-4D-5F", 0}, {"C", "FF-FF-2B-3C-4D-5E", 0}}},
      {"two MACs in one chain of the table, with the same tag",  // see MacsThatMeetInOneChain
       {{"A", "00-1A-2B-3C-4D-5E", 0}, {"B", "00-0C-2B-3C-4D-5E", 0}}},
      {"invalid MACs, never repeats of one another",
       {{"A", "", BADMAC}, {"B", "", BADMAC}, {"C", "00-1A-2B-3C-4D", BADMAC}, {"D", "00-1A-2B-3C-4D-5E-6F", BADMAC},
        {"E", "00-1A-2B-3C-4D-5G", BADMAC}, {"F", "00_1A_2B_3C_4D_5E", BADMAC}, {"G", "0x001A2B3C4D", BADMAC},
        {"H", "00-1A-2B-3C-4D-癮", BADMAC},  // B0 61: a double-byte character, its trail a hex letter
        {"I", "00-1A:2B-3C-4D-5E", BADMAC}, {"J", "192.168.100.101", BADMAC}, {"K", "2024-06-01 10:00", BADMAC},
        {"L", "001-A2B-3C4-D5E", BADMAC}, {"M", "00:E0:4C", BADMAC}, {"N", "00-00-00-00-00-00-00-E0", BADMAC},
        {"O", "00:01:00:01:2c:3d:4e:5f:00:e0:4c:68:10:01", BADMAC}, {"P", "{6B29FC40-CA47-1067-B31D-00E04C681001}", BADMAC},
        {"Q", "01:00:e0:4c:68:10:01", BADMAC}, {"R", "0100.e04c.6810.01", BADMAC}, {"S", "0:e0:4c:1:2", BADMAC},
        {"T", "0:e0:4c:1:2:345", BADMAC}, {"U", "00e04c:123456", BADMAC}}},
      {"new names: ASCII case ignored, double-byte characters exact",
       {{"WB01", "00-00-00-00-00-01", NAME2}, {"wb01", "00-00-00-00-00-02", NAME2},
        {"WB-癮", "00-00-00-00-00-03", 0}, {"WB-癆", "00-00-00-00-00-04", 0},  // B0 61 and B0 41: two names
        {"籠a", "00-00-00-00-00-05", NAME2}, {"籠A", "00-00-00-00-00-06", NAME2},  // BB 5C, then the letter
        {"PC1", "00-00-00-00-00-07", 0}, {"PC1 ", "00-00-00-00-00-08", 0}}},
      {"empty new names, never repeats of one another",
       {{"", "00-00-00-00-00-01", NONAME}, {"", "00-00-00-00-00-02", NONAME}}},
      {"three of a kind, and findings together",
       {{"X", "00-00-00-00-00-01", NAME2 | MAC2}, {"Y", "00-00-00-00-00-01", MAC2},
        {"x", "00-00-00-00-00-01", NAME2 | MAC2},
        {"X", "bad", NAME2 | BADMAC}, {"", "bad", NONAME | BADMAC}}},
      {"an empty list", {}},
  };
  ListFindings findings;  // one object throughout: each recompute starts afresh
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MachineList list;  // machines PC0, PC1, ...
    for (const Row& row : c.rows) list.append("PC" + std::to_string(list.count()), G(row.newName), G(row.mac));
    findings.recompute(list);
    ASSERT_EQ(findings.rowCount(), list.count());
    int any = 0;
    for (int row = 0; row < list.count(); ++row) {
      EXPECT_EQ(findings.of(row), c.rows[row].found) << "row " << row;
      any += c.rows[row].found != 0;
    }
    EXPECT_EQ(findings.rowsWithAny(), any);
    EXPECT_EQ(findings.of(list.count()), 0u);  // past the end: nothing, no fault
  }
}

// A DHCP client identifier of type 1 carries a MAC after its type byte;
// nothing else does.
TEST(ListFindings, ClientIdentifiersCarryTheirMac) {
  const std::int64_t mac = MacNumber("00-E0-4C-68-10-01");
  for (const char* id : {"01:00:e0:4c:68:10:01", "01-00-E0-4C-68-10-01", "0100.e04c.6810.01", "0100E04C681001"})
    EXPECT_EQ(ParseClientId(id).number, mac) << id;
  for (const char* notId : {"00-E0-4C-68-10-01", "06:00:e0:4c:68:10:01", "ff:00:e0:4c:68:10:01:02", "0100.e04c.6810",
                            "01:00:e0:4c:68:10:0g", ""})
    EXPECT_FALSE(ParseClientId(notId).valid()) << notId;
}

// No IPv4 address, date or time is ever a MAC, however its numbers are
// written: every address of the form a.b.c.d over the values whose digit
// counts differ, and dates and times over a year, with and without zeros in
// front, each with the separators spreadsheets and logs use.
TEST(ListFindings, NoAddressDateOrTimeIsEverAMac) {
  const int values[] = {0, 1, 9, 10, 99, 100, 168, 192, 255};
  int tried = 0;
  for (int a : values)
    for (int b : values)
      for (int c : values)
        for (int d : values) {
          const std::string address =
              std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d);
          ASSERT_LT(MacNumber(address), 0) << address;
          ++tried;
        }
  char text[64];
  for (int month = 1; month <= 12; ++month)
    for (int day = 1; day <= 31; ++day)
      for (const char* format : {"2024-%02d-%02d", "2024/%d/%d", "2024.%02d.%02d", "24-%02d-%02d 10:00",
                                 "2024-%02d-%02d 10:00:00", "2024-%02d-%02dT10:00:00", "%02d:%02d", "%02d:%02d:00",
                                 "%02d-%02d-2024 10:00", "%d/%d/2024 10:00:00"}) {
        std::snprintf(text, sizeof text, format, month, day);
        ASSERT_LT(MacNumber(text), 0) << text;
        ++tried;
      }
  EXPECT_GT(tried, 10000);
}

// The check's table starts a MAC's probe at the top bits of the MAC times
// 2^64 / golden ratio and keeps the MAC's low 32 bits as the slot's tag. The
// pair the case above calls one chain must start in the same slot of the
// table for a short list (16 slots) and share the tag; otherwise that case
// no longer makes two different MACs meet, and needs another pair.
TEST(ListFindings, MacsThatMeetInOneChain) {
  const auto slotOf16 = [](std::int64_t mac) { return static_cast<std::uint64_t>(mac) * 0x9E3779B97F4A7C15ull >> 60; };
  const std::int64_t a = MacNumber("00-1A-2B-3C-4D-5E"), b = MacNumber("00-0C-2B-3C-4D-5E");
  EXPECT_EQ(slotOf16(a), slotOf16(b));
  EXPECT_EQ(static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b));
}

// Repeats far apart in a list longer than one batch of the check, and on the
// last row of a batch (15, 31); then a partner deleted, and a rename that
// parts two names.
TEST(ListFindings, RepeatsFindTheirFirstPartnerAndEndWithIt) {
  MachineList list;
  for (int i = 0; i < 40; ++i) {
    char mac[32];
    std::snprintf(mac, sizeof mac, "00-00-00-00-00-%02X", i == 31 ? 15 : i % 33);  // 33-39 repeat 0-6
    list.append("PC" + std::to_string(i), "N" + std::to_string(i % 37), mac);  // 37-39 repeat 0-2
  }
  ListFindings findings;
  findings.recompute(list);
  EXPECT_EQ(findings.rowsWith(kMacRepeated), 16);
  EXPECT_EQ(findings.rowsWith(kNewNameRepeated), 6);
  EXPECT_EQ(findings.macPartner(0), 33);
  EXPECT_EQ(findings.macPartner(39), 6);
  EXPECT_EQ(findings.macPartner(15), 31);
  EXPECT_EQ(findings.macPartner(31), 15);
  EXPECT_EQ(findings.newNamePartner(2), 39);
  list.remove(33);
  findings.recompute(list);
  EXPECT_EQ(findings.of(0), kNewNameRepeated);
  EXPECT_EQ(findings.rowsWith(kMacRepeated), 14);

  // The rule makes PC-1 and PC_1 one name until the replacement differs.
  for (const auto& [replacement, repeated] : {std::pair{"_", 2}, std::pair{"#", 0}}) {
    const RenameRule rule{"", "-", replacement};
    list.clear();
    for (const char* name : {"PC-1", "PC_1"}) list.append(name, rule.newName(name), "");
    findings.recompute(list);
    EXPECT_EQ(findings.rowsWith(kNewNameRepeated), repeated) << replacement;
  }
}

TEST(ListCheckText, TipGivesEachReasonAndTheFirstOtherMachineSummaryCountsEachKind) {
  MachineList list;
  list.append("PC01", "X", "00-00-00-00-00-01");
  list.append(G("籠01"), "Y", "00-00-00-00-00-01");  // BB 5C: the name reaches the tip byte for byte
  list.append("PC03", "x", "00-00-00-00-00-01");
  list.append("PC04", "", "00-00");
  list.append("PC05", "Z", "00-00-00-00-00-05");
  ListFindings findings;
  findings.recompute(list);

  EXPECT_EQ(FindingTipText(list, findings, 0), G("MAC地址与 籠01 相同\r\n新机器编号与 PC03 相同"));
  EXPECT_EQ(FindingTipText(list, findings, 1), G("MAC地址与 PC01 相同"));
  EXPECT_EQ(FindingTipText(list, findings, 2), G("MAC地址与 PC01 相同\r\n新机器编号与 PC01 相同"));
  EXPECT_EQ(FindingTipText(list, findings, 3), G("MAC地址无效\r\n新机器编号为空"));
  EXPECT_EQ(FindingTipText(list, findings, 4), "");
  EXPECT_EQ(CheckSummaryText(findings),
            G("检查：4 台需要注意（红色标出）\r\nMAC地址重复：3 台\r\nMAC地址无效：1 台\r\n"
              "新机器编号重复：2 台\r\n新机器编号为空：1 台"));

  list.remove(0);  // not yet rechecked: no tip rather than a name from the wrong row
  EXPECT_EQ(FindingTipText(list, findings, 3), "");
  list.remove(2);
  findings.recompute(list);
  EXPECT_EQ(CheckSummaryText(findings), G("检查：2 台需要注意（红色标出）\r\nMAC地址重复：2 台"));  // kinds of no row left out
  list.remove(0);
  findings.recompute(list);
  EXPECT_EQ(CheckSummaryText(findings), G("检查：未发现重复或无效的条目"));
  list.clear();
  findings.recompute(list);
  EXPECT_EQ(CheckSummaryText(findings), "");

  // A partner without a machine name is named by its row, counted from 1.
  for (const char* name : {"PC01", "", "", "PC04"}) list.append(name, "N", "00-00-00-00-00-01");
  findings.recompute(list);
  EXPECT_EQ(FindingTipText(list, findings, 0), G("MAC地址与 第 2 行 相同\r\n新机器编号与 第 2 行 相同"));
  EXPECT_EQ(FindingTipText(list, findings, 1), G("MAC地址与 PC01 相同\r\n新机器编号与 PC01 相同"));
}

}  // namespace
}  // namespace venbrook
