#include "commands/list_check_text.h"

#include "model/gbk_text.h"
#include "model/text_codec.h"

namespace venbrook {
namespace {

constexpr char kLineEnd[] = "\r\n";

struct FindingWords {
  Finding finding;
  const char* summaryUtf8;  // followed by the number of rows and " 台"
};
constexpr FindingWords kWords[] = {
    {kMacRepeated, "MAC地址重复："},
    {kMacInvalid, "MAC地址无效："},
    {kNewNameRepeated, "新机器编号重复："},
    {kNewNameEmpty, "新机器编号为空："},
};

void AddLine(std::string& text, std::string_view line) {
  if (!text.empty()) text += kLineEnd;
  text += line;
}

std::string SameAs(const char* whatUtf8, std::string_view machineName) {
  return Gbk(whatUtf8) + ' ' + std::string(machineName) + ' ' + Gbk("相同");
}

}  // namespace

std::string FindingTipText(const MachineList& list, const ListFindings& findings, int row) {
  if (findings.rowCount() != list.count()) return {};  // checked before the list last changed
  const unsigned found = findings.of(row);
  std::string tip;
  if (found & kMacRepeated)
    AddLine(tip, SameAs("MAC地址与", list.cellText(findings.macPartner(row), kMachineNameColumn)));
  if (found & kMacInvalid) AddLine(tip, Gbk("MAC地址无效"));
  if (found & kNewNameRepeated)
    AddLine(tip, SameAs("新机器编号与", list.cellText(findings.newNamePartner(row), kMachineNameColumn)));
  if (found & kNewNameEmpty) AddLine(tip, Gbk("新机器编号为空"));
  return tip;
}

std::string CheckSummaryText(const ListFindings& findings) {
  if (findings.rowCount() == 0) return {};
  if (findings.rowsWithAny() == 0) return Gbk("检查：未发现重复或无效的条目");
  std::string summary = Gbk("检查：") + DecimalText(findings.rowsWithAny()) + Gbk(" 台需要注意（红色标出）");
  for (const FindingWords& words : kWords)
    if (const int rows = findings.rowsWith(words.finding); rows > 0)
      AddLine(summary, Gbk(words.summaryUtf8) + DecimalText(rows) + Gbk(" 台"));
  return summary;
}

}  // namespace venbrook
