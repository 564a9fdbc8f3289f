#pragma once
// What the source label says (GBK): where the rows came from, or why a file
// gave none. A product's file under its own name is never described: the
// name in the path box already says what the rows are.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/message_text.h"
#include "sources/products.h"
#include "sources/read_bounds.h"
#include "sources/router/router_file_kind.h"
#include "sources/sqlite/machine_table.h"

namespace venbrook {

// "来源：按内容识别为云更新数据库"
std::string RecognisedProductWords(const SourceProfile& profile);
// "来源：表 〈table〉，机器名取自 〈column〉 列，MAC地址取自 〈column〉 列", with
// "没有机器名列" for a table without a name column, and "，跳过 〈m〉 行" when
// rows were passed over.
std::string MachineTableWords(const MachineTable& table, std::int64_t skippedRows);
// "来源：dnsmasq 租约文件，读入 〈n〉 台", the skipped lines as CountWords says
// them; a kind that names no machine (an ARP table) says "，没有机器名列"
// before the count.
std::string RouterFileWords(RouterFileKind kind, int rows, int skippedLines, const std::vector<int>& firstSkipped);

// The columns a list was read from (each UTF-8, a header's text or
// "第 n 列"): "机器名取自 〈name〉，MAC地址取自 〈mac〉", and "没有机器名列，
// MAC地址取自 〈mac〉" when the names stay empty (an empty `nameUtf8`).
std::string ColumnsWords(std::string_view nameUtf8, std::string_view macUtf8);

// "，读入 〈n〉 台", and "，跳过 〈m〉 行（第 〈a〉、〈b〉、〈c〉 行）" with "等" after
// the third when more lines were skipped.
std::string CountWords(int rows, int skippedLines, const std::vector<int>& firstSkipped);

// "来源：文本列表，" + ColumnsWords + CountWords.
std::string TextListWords(std::string_view columnsWords, int rows, int skippedLines,
                          const std::vector<int>& firstSkipped);

// "来源：工作簿 〈file name〉 的工作表 〈sheet〉，" + ColumnsWords + CountWords, the
// file's name shown exactly, the sheet's (UTF-8) as a quoted name.
MessageText WorkbookWords(std::string_view fileName, std::string_view sheetUtf8, std::string_view columnsWords,
                          int rows, int skippedLines, const std::vector<int>& firstSkipped);

enum class NoListReason { NoMachineList, CannotOpen, StoppedPartWay, Locked, OldWorkbook };
// "未载入：〈file name〉 里没有找到机器列表", "… 打不开",
// "… 读取中途出错", "… 正被其他程序占用，请稍后重载",
// "… 是旧版表格文件，请在 Excel 或 WPS 里另存为 .xlsx 或 CSV 再打开"; the file's
// name (UTF-8) shown exactly.
MessageText NoListWords(std::string_view fileName, NoListReason reason);
// "未载入：〈file name〉 太大（〈the bound's words〉）".
MessageText TooLargeWords(std::string_view fileName, Bound bound);

}  // namespace venbrook
