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

// The partner by its machine name, or, when it has none, by its row as the
// operator counts rows (from 1).
std::string SameAs(const char* whatUtf8, const MachineList& list, int partner) {
  const std::string_view name = list.cellText(partner, kMachineNameColumn);
  const std::string who = name.empty() ? Gbk("第 ") + DecimalText(partner + 1) + Gbk(" 行") : std::string(name);
  return Gbk(whatUtf8) + ' ' + who + ' ' + Gbk("相同");
}

}  // namespace

std::string FindingTipText(const MachineList& list, const ListFindings& findings, int row) {
  if (findings.rowCount() != list.count()) return {};  // checked before the list last changed
  const unsigned found = findings.of(row);
  std::string tip;
  if (found & kMacRepeated)
    AddLine(tip, SameAs("MAC地址与", list, findings.macPartner(row)));
  if (found & kMacInvalid) AddLine(tip, Gbk("MAC地址无效"));
  if (found & kNewNameRepeated)
    AddLine(tip, SameAs("新机器编号与", list, findings.newNamePartner(row)));
  if (found & kNewNameEmpty) AddLine(tip, Gbk("新机器编号为空"));
  if (list.isTyped(row)) AddLine(tip, Gbk("手动命名"));
  return tip;
}

std::string CheckSummaryText(const ListFindings& findings, int typedRows, std::string_view namesNote) {
  std::string summary;
  if (findings.rowCount() > 0) {
    summary = findings.rowsWithAny() == 0
                  ? Gbk("检查：未发现重复或无效的条目")
                  : Gbk("检查：") + DecimalText(findings.rowsWithAny()) + Gbk(" 台需要注意（红色标出）");
    if (typedRows > 0) summary += Gbk("，手动命名 ") + DecimalText(typedRows) + Gbk(" 台");
    for (const FindingWords& words : kWords)
      if (const int rows = findings.rowsWith(words.finding); rows > 0)
        AddLine(summary, Gbk(words.summaryUtf8) + DecimalText(rows) + Gbk(" 台"));
  }
  if (!namesNote.empty()) AddLine(summary, namesNote);
  return summary;
}

std::string TypedNamesNote(const TypedNames& names) {
  switch (names.state()) {
    case TypedNames::State::Kept: return {};
    case TypedNames::State::NotWritten: return Gbk("机器名.ini 无法写入：手动命名只在本次运行有效");
    case TypedNames::State::TooLarge: return Gbk("机器名.ini 太大，没有读取，也不会改写：手动命名只在本次运行有效");
    case TypedNames::State::Unreadable: return Gbk("机器名.ini 无法读取，也不会改写：手动命名只在本次运行有效");
    case TypedNames::State::NotUnderstood:
      return Gbk("机器名.ini 第 ") + DecimalText(names.badLine()) +
             Gbk(" 行无法识别，文件不会改写：新的手动命名只在本次运行有效");
  }
  return {};
}

}  // namespace venbrook
