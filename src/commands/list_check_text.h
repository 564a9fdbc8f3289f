#pragma once
// The words the window shows for the list's findings (GBK): the reasons of
// one row, for the list's info tip, and the summary below the help text.
#include <string>

#include "model/list_findings.h"
#include "model/machine_list.h"
#include "settings/typed_names.h"

namespace venbrook {

// One reason a line, CR LF between them, in the order of `Finding`; a
// repeat names the machine of the first other row that shares the value:
// "MAC地址与 PC01 相同", or that row, counted from 1, when its machine name is
// empty: "MAC地址与 第 3 行 相同"; a row whose new name was typed ends with
// "手动命名". Empty for any other row.
std::string FindingTipText(const MachineList& list, const ListFindings& findings, int row);

// Empty for an empty list; "检查：未发现重复或无效的条目" when nothing was
// found; else "检查：N 台需要注意（红色标出）" and one line per kind found,
// "MAC地址重复：2 台", CR LF between the lines. With typed names the first
// line ends "，手动命名 n 台"; `namesNote`, when there is one, is the last line.
std::string CheckSummaryText(const ListFindings& findings, int typedRows = 0, std::string_view namesNote = {});

// Why 机器名.ini does not hold the names typed, for the summary's last
// line; empty when it does.
std::string TypedNamesNote(const TypedNames& names);

}  // namespace venbrook
