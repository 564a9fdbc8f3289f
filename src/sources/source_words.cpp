#include "sources/source_words.h"

#include "model/gbk_text.h"
#include "model/text_codec.h"
#include "platform/utf8.h"

namespace venbrook {
namespace {

// A name quoted in the label (a header, a table's or a column's name) is
// cut to its first characters, so that the label's counts always fit in its
// two lines: "包间与大厅的计算机名称一览…".
constexpr std::size_t kShownNameCharacters = 14;

// A character beyond U+FFFF ("📋机器") shows as Windows converts it, never
// emptying the name.
std::string ShortGbk(std::string_view utf8) {
  std::size_t characters = 0, at = 0;
  for (; at < utf8.size(); ++at) {
    if (IsUtf8Continuation(static_cast<unsigned char>(utf8[at]))) continue;  // inside a character
    if (characters++ == kShownNameCharacters)
      return Utf8ToGbk(utf8.substr(0, at), Utf8Rule::AnyCharacter) + Gbk("…");
  }
  return Utf8ToGbk(utf8, Utf8Rule::AnyCharacter);
}

}  // namespace

std::string RecognisedProductWords(const SourceProfile& profile) {
  return Gbk("来源：按内容识别为") + Gbk(profile.productUtf8) + Gbk("数据库");
}

MessageText TableWhat(std::string_view tableUtf8) { return MessageText(Gbk("表 ") + ShortGbk(tableUtf8)); }

std::string ColumnsWords(std::string_view nameUtf8, std::string_view macUtf8) {
  std::string words = nameUtf8.empty() ? Gbk("没有机器名列") : Gbk("机器名取自 ") + ShortGbk(nameUtf8);
  return words + Gbk("，MAC地址取自 ") + ShortGbk(macUtf8);
}

std::string CountWords(int rows, int skippedLines, const std::vector<int>& firstSkipped, int merged) {
  std::string words = Gbk("，读入 ") + DecimalText(rows) + Gbk(" 台");
  if (merged > 0) words += Gbk("，合并重复记录 ") + DecimalText(merged) + Gbk(" 条");
  if (skippedLines == 0) return words;
  words += Gbk("，跳过 ") + DecimalText(skippedLines) + Gbk(" 行（第 ");
  for (std::size_t i = 0; i < firstSkipped.size(); ++i) {
    if (i > 0) words += Gbk("、");
    words += DecimalText(firstSkipped[i]);
  }
  if (skippedLines > static_cast<int>(firstSkipped.size())) words += Gbk(" 等");
  return words + Gbk(" 行）");
}

MessageText TableWords(const MessageText& what, const TableRead& read) {
  MessageText words = what;
  words.words.insert(0, Gbk("来源："));
  (words.file.empty() ? words.words : words.wordsAfter) +=
      (read.macColumn.empty() ? std::string() : Gbk("，") + ColumnsWords(read.nameColumn, read.macColumn)) +
      CountWords(read.rows, read.skippedLines, read.firstSkipped, read.merged);
  return words;
}

MessageText WorkbookWhat(std::string_view fileName, std::string_view sheetUtf8) {
  return MessageText(Gbk("工作簿 "), Path::FromUtf8(fileName), Gbk(" 的工作表 ") + ShortGbk(sheetUtf8));
}

MessageText NoListWords(std::string_view fileName, NoListReason reason) {
  const char* why = "";
  switch (reason) {
    case NoListReason::NoMachineList: why = " 里没有找到机器列表"; break;
    case NoListReason::CannotOpen: why = " 打不开"; break;
    case NoListReason::StoppedPartWay: why = " 读取中途出错"; break;
    case NoListReason::Locked: why = " 正被其他程序占用，请稍后重载"; break;
    case NoListReason::OldWorkbook: why = " 是旧版表格文件，请在 Excel 或 WPS 里另存为 .xlsx 或 CSV 再打开"; break;
  }
  return MessageText(Gbk("未载入："), Path::FromUtf8(fileName), Gbk(why));
}

}  // namespace venbrook

namespace venbrook {

MessageText TooLargeWords(std::string_view fileName, Bound bound) {
  return MessageText(Gbk("未载入："), Path::FromUtf8(fileName),
                     Gbk(" 太大（") + Gbk(BoundRowOf(bound).wordsUtf8) + Gbk("）"));
}

}  // namespace venbrook
