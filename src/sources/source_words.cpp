#include "sources/source_words.h"

#include "model/gbk_text.h"
#include "model/text_codec.h"

namespace venbrook {

std::string RecognisedProductWords(const SourceProfile& profile) {
  return Gbk("来源：按内容识别为") + Gbk(profile.productUtf8) + Gbk("数据库");
}

std::string MachineTableWords(const MachineTable& table) {
  return Gbk("来源：表 ") + Utf8ToGbk(table.table) + Gbk("，机器名取自 ") + Utf8ToGbk(table.nameColumn) +
         Gbk(" 列，MAC地址取自 ") + Utf8ToGbk(table.macColumn) + Gbk(" 列");
}

namespace {

// "读入 〈n〉 台", and "，跳过 〈m〉 行（第 〈a〉、〈b〉、〈c〉 行）" with "等" after the
// third when more were skipped.
std::string CountWords(int rows, int skippedLines, const std::vector<int>& firstSkipped) {
  std::string words = Gbk("读入 ") + DecimalText(rows) + Gbk(" 台");
  if (skippedLines == 0) return words;
  words += Gbk("，跳过 ") + DecimalText(skippedLines) + Gbk(" 行（第 ");
  for (std::size_t i = 0; i < firstSkipped.size(); ++i) {
    if (i > 0) words += Gbk("、");
    words += DecimalText(firstSkipped[i]);
  }
  if (skippedLines > static_cast<int>(firstSkipped.size())) words += Gbk(" 等");
  return words + Gbk(" 行）");
}

std::string ColumnWords(const std::string& column, bool header) {
  return header ? Utf8ToGbk(column) + Gbk(" 列") : column + Gbk(" 列");
}

}  // namespace

std::string TextListWords(int rows, int skippedLines, const std::vector<int>& firstSkipped) {
  return Gbk("来源：文本列表，") + CountWords(rows, skippedLines, firstSkipped);
}

MessageText WorkbookWords(std::string_view fileName, const WorkbookRead& read) {
  const std::string names =
      read.nameColumn.empty() ? Gbk("没有机器名列") : Gbk("机器名取自 ") + ColumnWords(read.nameColumn, read.nameHeader);
  return MessageText(Gbk("来源：工作簿 "), Path::FromUtf8(fileName),
                     Gbk(" 的工作表 ") + Utf8ToGbk(read.sheet) + Gbk("，") + names + Gbk("，MAC地址取自 ") +
                         ColumnWords(read.macColumn, read.macHeader) + Gbk("，") +
                         CountWords(read.rows, read.skippedLines, read.firstSkipped));
}

MessageText NoListWords(std::string_view fileName, NoListReason reason) {
  const char* why = "";
  switch (reason) {
    case NoListReason::NoMachineList: why = " 里没有找到机器列表"; break;
    case NoListReason::TooLarge: why = " 太大"; break;
    case NoListReason::CannotOpen: why = " 打不开"; break;
    case NoListReason::StoppedPartWay: why = " 读取中途出错"; break;
    case NoListReason::OldWorkbook: why = " 是旧版表格文件，请在 Excel 或 WPS 里另存为 .xlsx 或 CSV 再打开"; break;
  }
  return MessageText(Gbk("未载入："), Path::FromUtf8(fileName), Gbk(why));
}

}  // namespace venbrook
