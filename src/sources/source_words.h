#pragma once
// What the source label says (GBK): where the rows came from, or why a file
// gave none. A product's file under its own name is never described: the
// window shows it as it always has.
#include <string>
#include <string_view>
#include <vector>

#include "model/message_text.h"
#include "sources/products.h"
#include "sources/sqlite/machine_table.h"
#include "sources/workbook/workbook.h"

namespace venbrook {

// "来源：按内容识别为云更新数据库"
std::string RecognisedProductWords(const SourceProfile& profile);
// "来源：表 〈table〉，机器名取自 〈column〉 列，MAC地址取自 〈column〉 列"
std::string MachineTableWords(const MachineTable& table);
// "来源：文本列表，读入 〈n〉 台", and "，跳过 〈m〉 行（第 〈a〉、〈b〉、〈c〉 行）"
// with "等" after the third when more lines were skipped.
std::string TextListWords(int rows, int skippedLines, const std::vector<int>& firstSkipped);

// "来源：工作簿 〈file name〉 的工作表 〈sheet〉，机器名取自 〈header〉 列，MAC地址取自
// 〈letters〉 列，读入 〈n〉 台" (or "没有机器名列" for the names), and the skipped
// rows as TextListWords counts lines; the file's name shown exactly.
MessageText WorkbookWords(std::string_view fileName, const WorkbookRead& read);

enum class NoListReason { NoMachineList, TooLarge, CannotOpen, StoppedPartWay, OldWorkbook };
// "未载入：〈file name〉 里没有找到机器列表", "… 太大", "… 打不开",
// "… 读取中途出错", "… 是旧版表格文件，请在 Excel 或 WPS 里另存为 .xlsx 或 CSV 再打开";
// the file's name (UTF-8) shown exactly.
MessageText NoListWords(std::string_view fileName, NoListReason reason);

}  // namespace venbrook
