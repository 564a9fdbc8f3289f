#pragma once
// Computers' network adapters, one block an adapter, read as machines: one
// record a computer, with the name it is printed under and the adapter it
// boots and registers with (adapter_facts.h). Shapes:
//   - ipconfig /all of several PCs put one after the other, in English or
//     Chinese: each begins "Windows IP Configuration" ("Windows IP 配置"),
//     then "Host Name . . . : A01" ("主机名 . . . : A01"), then a section per
//     adapter, "Ethernet adapter 以太网:", "Wireless LAN adapter WLAN:",
//     "Tunnel adapter …", each with its Physical Address, its IPv4 Address
//     or "Media State . . . : Media disconnected";
//   - wmic nic or nicconfig /format:list, Get-NetAdapter | Format-List,
//     getmac /v /fo list: one block an adapter; with a SystemName,
//     PSComputerName or DNSHostName in each block, the blocks of one name
//     are one computer.
// Without any such name (the adapters of one computer that does not say
// which, as getmac and Get-NetAdapter print them), the whole file is one
// computer: one record, its adapter's MAC and no name, which the label
// says ("没有机器名列"). The adapter's own names ("以太网", "Ethernet",
// its description) are never handed over: they name the card, not the
// machine.
//
// A record holds the computer's name key ("Host Name", "SystemName") and,
// from the chosen adapter, its pairs whose value is a MAC (its address,
// "192.168.1.101(Preferred)", told the choice and is no cell: a column of
// them is no name); a computer with no adapter that qualifies is a record
// of its name alone, which the driver counts as skipped at the computer's
// first line.
#include <string_view>

#include "sources/blocks/pair_line.h"
#include "sources/table/table_layout.h"

namespace venbrook {

class AdapterLayout final : public TableLayout {
 public:
  AdapterLayout(std::string_view text, PairForm form) : text_(text), form_(form) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override;
  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "分段记录"; }

 private:
  std::string_view text_;
  PairForm form_;
  KeyedColumns keys_;
};

}  // namespace venbrook
