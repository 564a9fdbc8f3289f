#pragma once
// Command outputs that report host after host, each host's name and MAC on
// lines of the tool's own words, between lines of other facts. Records of
// events: a scan sees a machine, and may see it twice.
//   - nmap's normal output, "nmap 扫描结果": "Nmap scan report for a01.lan
//     (192.168.1.101)" opens a host (its address alone where no name was
//     found), "MAC Address: 00:E0:4C:C8:91:58 (Realtek Semiconductor)"
//     gives its MAC; the scanning host itself has none, and is no record.
//   - nbtstat -A of one address after another, "nbtstat 名称表": each host's
//     "NetBIOS Remote Machine Name Table" ("NetBIOS 远程计算机名称表") lists
//     its names; the machine's is the first <00> UNIQUE (唯一) one, the
//     others being its workgroup and services. "MAC Address = …" ("MAC 地址
//     = …") ends the host. "Host not found." has neither.
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

bool LooksLikeNmapReport(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeNmapReportLayout(std::string_view textUtf8);

bool LooksLikeNbtstat(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeNbtstatLayout(std::string_view textUtf8);

}  // namespace venbrook
