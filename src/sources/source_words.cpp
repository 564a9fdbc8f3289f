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

// "读入 〈n〉 台", then "，跳过 〈m〉 行（第 〈a〉、〈b〉、〈c〉 行）" with "等" after
// the third when more lines were skipped.
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

}  // namespace

std::string TextListWords(int rows, int skippedLines, const std::vector<int>& firstSkipped) {
  return Gbk("来源：文本列表，") + CountWords(rows, skippedLines, firstSkipped);
}

std::string RouterFileWords(RouterFileKind kind, int rows, int skippedLines, const std::vector<int>& firstSkipped) {
  const char* named = "";
  switch (kind) {
    case RouterFileKind::DnsmasqLeases: named = "dnsmasq 租约文件，"; break;
    case RouterFileKind::IscLeases: named = "ISC DHCP 租约文件，"; break;
    case RouterFileKind::IscConfig: named = "ISC DHCP 配置文件，"; break;
    case RouterFileKind::MikrotikExport: named = "MikroTik 租约导出，"; break;
    case RouterFileKind::MikrotikPrint: named = "MikroTik 租约列表，"; break;
    case RouterFileKind::OpenWrtConfig: named = "OpenWrt DHCP 配置，"; break;
    case RouterFileKind::ArpTable: named = "ARP 表，没有机器名列，"; break;
  }
  return Gbk("来源：") + Gbk(named) + CountWords(rows, skippedLines, firstSkipped);
}

MessageText NoListWords(std::string_view fileName, NoListReason reason) {
  const char* why = "";
  switch (reason) {
    case NoListReason::NoMachineList: why = " 里没有找到机器列表"; break;
    case NoListReason::TooLarge: why = " 太大"; break;
    case NoListReason::CannotOpen: why = " 打不开"; break;
    case NoListReason::StoppedPartWay: why = " 读取中途出错"; break;
  }
  return MessageText(Gbk("未载入："), Path::FromUtf8(fileName), Gbk(why));
}

}  // namespace venbrook
