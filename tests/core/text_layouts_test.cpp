// Which layout each kind of text file is read by, told by its first bytes
// alone; an ordinary list is left to the text list.
#include "sources/table/text_layouts.h"

#include <gtest/gtest.h>

#include "sources/read_types.h"
#include "support/gbk_literal.h"
#include "support/temp_folder.h"

namespace venbrook {
namespace {

std::string ClaimedBy(std::string_view bytes) {
  const TextLayoutRow* row = LayoutClaiming(SampleText(bytes));
  return row == nullptr ? "text list" : std::string(row->name);
}

TEST(TextLayouts, EachFileToItsLayout) {
  const std::string lease = "1751520000 00:1a:2b:3c:4d:01 192.168.1.11 A01 *\n";
  std::string leases;
  while (leases.size() <= kSampleBytes) leases += lease;  // the sample ends inside a line
  std::string answer = R"({"meta":{"rc":"ok"},"data":[)";  // one line, cut by the sample
  while (answer.size() <= kSampleBytes) answer += R"({"mac":"00:e0:4c:68:10:01","hostname":"PC01"},)";
  const struct {
    const char* what;
    std::string bytes;
    const char* layout;
  } cases[] = {
      {"a spreadsheet's CSV", G("机器名,IP地址,MAC地址\r\nPC01,192.168.1.11,00-1A-2B-3C-4D-01\r\n"), "text list"},
      {"our own export", "00-1A-2B-3C-4D-5E A01\r\n", "text list"},
      {"numbered lines of five fields", "1 00:1a:2b:3c:4d:01 192.168.1.11 PC01 二楼\n", "text list"},
      {"a router's list as TSV", "IP Address\tMAC Address\tHostname\n192.168.1.11\t00:1a:2b:3c:4d:01\tA01\n", "text list"},
      {"semicolons and braces in a CSV", "host;A01;{\n# 注释\n#;MAC-ADDRESS;ADDRESS\n", "text list"},
      {"a lease's structure only after the sample",
       std::string(kSampleBytes, '#') + "\nlease 192.168.1.11 { hardware ethernet 00:1a:2b:3c:4d:01; }\n", "text list"},
      {"dhcpd.conf with options alone in its first bytes", "ddns-update-style none;\ndefault-lease-time 600;\n",
       "ISC dhcpd.conf"},
      {"a whole /export, its leases further on", "# 2025-07-03 by RouterOS 7.15\n/interface bridge\nadd name=bridge\n",
       "RouterOS export"},
      {"dnsmasq's leases, the sample ending inside a line", leases, "dnsmasq's lease file"},
      {"arp-scan", "Interface: eth0, type: EN10MB, MAC: 00:0c:29:b5:72:a1, IPv4: 192.168.1.2\n"
                   "Starting arp-scan 1.10.0 with 256 hosts (https://github.com/royhills/arp-scan)\n"
                   "192.168.1.101\t00:e0:4c:da:e7:1c\tRealtek Semiconductor Corp.\n",
       "arp-scan's output"},
      {"a router's JSON answer on one line", answer, "JSON: arrays of objects, objects holding them, JSON Lines"},
      {"PowerShell 5's ConvertTo-Json saved: UTF-16 with its mark",
       test::Utf16File(u"[\r\n    {\r\n        \"ClientId\":  \"00-e0-4c-68-10-01\",\r\n"),
       "JSON: arrays of objects, objects holding them, JSON Lines"},
      {"a configuration's JSON after its comment", "// kea-dhcp4.conf\n{\n  \"Dhcp4\": {\n",
       "JSON: arrays of objects, objects holding them, JSON Lines"},
      {"nmap's XML", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE nmaprun>\n<nmaprun scanner=\"nmap\">\n",
       "XML: an element repeated per host"},
      {"JSON Lines", "{\"mac\":\"00:e0:4c:68:10:01\"}\n{\"mac\":\"00:e0:4c:68:10:02\"}\n",
       "JSON: arrays of objects, objects holding them, JSON Lines"},
      {"JSON nested past any list: claimed, to be refused by its depth", std::string(kSampleBytes * 2, '['),
       "JSON: arrays of objects, objects holding them, JSON Lines"},
      {"JSON broken after a member: claimed, to be refused as damaged", "{\"a\":1}\nPC01 00-E0-4C-68-10-01\n",
       "JSON: arrays of objects, objects holding them, JSON Lines"},
      {"an INI section", G("[网吧]\r\nPC01=00-E0-4C-68-10-01\r\n"), "text list"},
      {"a log line opening with its time in brackets", "[2024-06-01 10:00:00] PC01 00-E0-4C-68-10-01\n", "text list"},
      {"a JSON string alone", "\"00-E0-4C-68-10-01\"\n", "text list"},
      {"an element, no declaration, after blanks", "\r\n  <hosts><host mac=\"00:e0:4c:68:10:01\"/>",
       "XML: an element repeated per host"},
      {"XML declaring entities: claimed, to be refused as damaged",
       "<!DOCTYPE a [<!ENTITY b \"c\">]><a>&b;</a>", "XML: an element repeated per host"},
      {"an HTML page", "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>ARP</title></head>", "text list"},
      {"ip neigh", "192.168.1.13 dev br-lan lladdr 00:1a:2b:3c:4d:03 REACHABLE\n", "ip neigh's neighbours, a line each"},
      {"Windows's arp -a in Chinese", G("接口: 192.168.1.5 --- 0xb\r\n  Internet 地址         物理地址              类型\r\n"
                                         "  192.168.1.1           00-1a-2b-3c-4d-01     动态\r\n"),
       "tables laid out with blanks"},
  };
  for (const auto& c : cases) EXPECT_EQ(ClaimedBy(c.bytes), c.layout) << c.what;
}

}  // namespace
}  // namespace venbrook
