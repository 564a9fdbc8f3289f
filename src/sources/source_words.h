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
#include "sources/table/table_read.h"

namespace venbrook {

// "来源：按内容识别为云更新数据库"
std::string RecognisedProductWords(const SourceProfile& profile);
// "表 〈table〉": what the label calls a database's table.
MessageText TableWhat(std::string_view tableUtf8);

// The columns a list was read from (each UTF-8, a header's text or
// "第 n 列"): "机器名取自 〈name〉，MAC地址取自 〈mac〉", and "没有机器名列，
// MAC地址取自 〈mac〉" when the names stay empty (an empty `nameUtf8`).
std::string ColumnsWords(std::string_view nameUtf8, std::string_view macUtf8);

// "，读入 〈n〉 台", "，合并重复记录 〈k〉 条" when records of one machine were
// merged, and "，跳过 〈m〉 行（第 〈a〉、〈b〉、〈c〉 行）" with "等" after the third
// when more lines were skipped.
std::string CountWords(int rows, int skippedLines, const std::vector<int>& firstSkipped, int merged = 0);

// "来源：〈what〉，" + ColumnsWords + CountWords: any table read through the
// one pipeline ("来源：对齐的表格，机器名取自 Hostname，MAC地址取自 MAC Address，
// 读入 28 台，合并重复记录 3 条").
MessageText TableWords(const MessageText& what, const TableRead& read);

// "工作簿 〈file name〉 的工作表 〈sheet〉": what the label calls a workbook's
// sheet, the file's name shown exactly, the sheet's (UTF-8) as a quoted name.
MessageText WorkbookWhat(std::string_view fileName, std::string_view sheetUtf8);

enum class NoListReason { NoMachineList, CannotOpen, StoppedPartWay, Locked, OldWorkbook };
// "未载入：〈file name〉 里没有找到机器列表", "… 打不开",
// "… 读取中途出错", "… 正被其他程序占用，请稍后重载",
// "… 是旧版表格文件，请在 Excel 或 WPS 里另存为 .xlsx 或 CSV 再打开"; the file's
// name (UTF-8) shown exactly.
MessageText NoListWords(std::string_view fileName, NoListReason reason);
// "未载入：〈file name〉 太大（〈the bound's words〉）".
MessageText TooLargeWords(std::string_view fileName, Bound bound);

}  // namespace venbrook
