#include "sources/columns/column_judge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace venbrook {
namespace {

// What a header's words say of its column: the vote that comes first.
TEST(ColumnWords, HeadersNameTheirColumns) {
  const struct {
    const char* header;
    HeaderRole role;
  } cases[] = {
      {"MAC地址", HeaderRole::Mac},         {"MACAddress", HeaderRole::Mac},   {"Hardware Addr", HeaderRole::Mac},
      {"物理地址", HeaderRole::Mac},        {"网卡", HeaderRole::Mac},         {"IP地址", HeaderRole::Address},
      {"Internet 地址", HeaderRole::Address}, {"ipaddr", HeaderRole::Address}, {"区域名称", HeaderRole::NotName},
      {"序号", HeaderRole::NotName},        {"No.", HeaderRole::NotName},      {"MachineID", HeaderRole::NotName},
      {"最后上机时间", HeaderRole::NotName}, {"类型", HeaderRole::NotName},     {"用户名", HeaderRole::NotName},
      {"Interface", HeaderRole::NotName},   {"机器名称", HeaderRole::Name},    {"Host Name", HeaderRole::Name},
      {"ComputerName", HeaderRole::Name},   {"名称", HeaderRole::Name},        {"机器号", HeaderRole::NameLike},
      {"座位号", HeaderRole::NameLike},     {"pc_label", HeaderRole::NameLike}, {"Machine", HeaderRole::Name},
      {"备用", HeaderRole::None},           {"", HeaderRole::None},          {"Protocol", HeaderRole::NotName},
      {"SERVER", HeaderRole::NotName},      {"LinkSpeed", HeaderRole::NotName},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyHeader(c.header), c.role) << c.header;
}

TEST(ColumnWords, DatesAndTimesAndTheirLookalikes) {
  for (const char* date : {"2024-06-01", "2024/6/1", "2024.06.01", "10:00", "10:00:00", "2024-06-01 10:00",
                           "2024-06-01T10:00:00", "2024年6月1日", "6/1/2024 10:00:00"})
    EXPECT_TRUE(IsDateOrTime(date)) << date;
  for (const char* other : {"192.168.1.1", "00-1A-2B-3C-4D-5E", "1.2", "12345", "A01", "06.01", "2024年", "1.2.3"})
    EXPECT_FALSE(IsDateOrTime(other)) << "[" << other << "]";
}

// The judge over rows as a sheet gives them: ragged rows, empty cells, a
// total under the list; a header whose MAC word is not the leftmost MAC.
TEST(ColumnJudge, RaggedRowsUnderAHeader) {
  const std::vector<std::vector<std::string>> rows = {
      {"说明：三楼"},
      {"机器名", "交换机", "MAC"},
      {"PC1", "00-11-22-33-44-01", "00-1A-2B-3C-4D-01"},
      {"PC2", "", "00-1A-2B-3C-4D-02"},
      {"PC3", "00-11-22-33-44-03", "00-1A-2B-3C-4D-03", "多余"},
      {"合计", "3"},
  };
  ColumnJudge judge;
  for (const auto& row : rows) {
    for (std::size_t cell = 0; cell < row.size(); ++cell) judge.addCell(static_cast<int>(cell), row[cell]);
    judge.endRow();
  }
  const ColumnChoice choice = judge.decide();
  EXPECT_EQ(choice.headerRow, 1);
  EXPECT_EQ(choice.mac, 2);
  EXPECT_EQ(choice.name, 0);
  EXPECT_EQ(judge.columnWordsUtf8(2), "MAC");
  EXPECT_EQ(judge.columnWordsUtf8(3), "第 4 列");
}

// Each threshold at its edge: one value either way changes the choice.
TEST(ColumnJudge, ThresholdsHoldExactly) {
  const auto mac = [](int i) { return "00-1A-2B-3C-4D-" + std::to_string(10 + i); };
  struct Case {
    const char* what;
    const char* header;
    std::vector<std::string> values;  // the second column of ten machines
    int name, state;
  };
  const auto repeated = [](int times) {
    std::vector<std::string> names(static_cast<std::size_t>(times), "A00");
    for (int i = times; i < 10; ++i) names.push_back("A0" + std::to_string(i));
    return names;
  };
  const Case cases[] = {
      {"nine distinct names of ten: names", "x", {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "A9"}, 1, -1},
      {"eight of ten: no names", "x", {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A8", "A8"}, -1, -1},
      {"a named column: one name over four MACs (a host's cards)", "hostname", repeated(4), 1, -1},
      {"over five: a status, no name", "hostname", repeated(5), -1, -1},
      {"states in half the rows: the column of states", "x",
       {"active", "active", "active", "active", "active", "p1", "p2", "p3", "p4", "p5"}, -1, 1},
      {"in fewer than half: none", "x", {"active", "active", "active", "active", "p0", "p1", "p2", "p3", "p4", "p5"}, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ColumnJudge judge;
    judge.addCell(0, "MAC");
    judge.addCell(1, c.header);
    judge.endRow();
    for (int i = 0; i < 10; ++i) {
      judge.addCell(0, mac(i));
      judge.addCell(1, c.values[static_cast<std::size_t>(i)]);
      judge.endRow();
    }
    const ColumnChoice choice = judge.decide();
    EXPECT_EQ(choice.mac, 0);
    EXPECT_EQ(choice.name, c.name);
    EXPECT_EQ(choice.state, c.state);
  }
}

}  // namespace
}  // namespace venbrook
