#pragma once
// What the source label says (GBK): where the rows came from, or why a file
// gave none. A product's file under its own name is never described: the
// name in the path box already says what the rows are.
#include <string>
#include <string_view>
#include <vector>

#include "model/message_text.h"
#include "sources/products.h"
#include "sources/sqlite/machine_table.h"

namespace venbrook {

// "来源：按内容识别为云更新数据库"
std::string RecognisedProductWords(const SourceProfile& profile);
// "来源：表 〈table〉，机器名取自 〈column〉 列，MAC地址取自 〈column〉 列"
std::string MachineTableWords(const MachineTable& table);
// "来源：文本列表，读入 〈n〉 台", and "，跳过 〈m〉 行（第 〈a〉、〈b〉、〈c〉 行）"
// with "等" after the third when more lines were skipped.
std::string TextListWords(int rows, int skippedLines, const std::vector<int>& firstSkipped);

enum class NoListReason { NoMachineList, TooLarge, CannotOpen, StoppedPartWay };
// "未载入：〈file name〉 里没有找到机器列表", "… 太大", "… 打不开",
// "… 读取中途出错"; the file's name (UTF-8) shown exactly.
MessageText NoListWords(std::string_view fileName, NoListReason reason);

}  // namespace venbrook
