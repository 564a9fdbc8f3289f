#pragma once
// OpenWrt's static leases, in its UCI configuration ("OpenWrt DHCP 配置", a
// list):
//
// /etc/config/dhcp (and `uci export dhcp`):
//   config host
//           option name 'A01'
//           option mac '00:1a:2b:3c:4d:01'
//           option ip '192.168.1.11'
// one statement a line: "config 〈type〉 ['〈section〉']", "option 〈key〉 〈value〉",
// "list 〈key〉 〈value〉", "package 〈name〉"; '#' starts a comment; a value is
// in single quotes (as written), double quotes (with '\' escapes) or none,
// pieces written together making one value.
//
// `uci show dhcp`: one option a line, "dhcp.@host[0].name='A01'", sections
// unnamed (@host[0]) or named ("dhcp.cfg01fe=host", then
// "dhcp.cfg01fe.mac='…'"), a list's values quoted one by one.
//
// A record is a host section's MAC with the section's options, their keys
// the columns ("name", "ip", "mac"). `option mac` may hold several MACs
// between blanks, and `list mac` adds one more: each is a record of its
// own, at the MAC's line, with the host's name. A host without a MAC (a
// name for DNS alone) and the other sections are no machines.
#include <cstdint>
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

enum class UciText : std::uint8_t { Config, Show };

class OpenWrtLayout final : public TableLayout {
 public:
  OpenWrtLayout(std::string_view text, UciText form) : text_(text), form_(form) {}

  LayoutEnd forEachRecord(RecordVisitor& visitor) override;
  std::vector<std::string> columnNames() const override { return keys_.names(); }
  bool namesColumns() const override { return true; }
  RecordKind kind() const override { return RecordKind::List; }
  std::string_view wordsUtf8() const override { return "OpenWrt DHCP 配置"; }

 private:
  LayoutEnd readConfig(RecordVisitor& visitor);
  LayoutEnd readShow(RecordVisitor& visitor);

  std::string_view text_;
  UciText form_;
  KeyedColumns keys_;
};

// Every line holds a statement (or nothing, or a comment), among them a
// "config" line and an "option" or "list" line.
bool LooksLikeOpenWrtConfig(std::string_view sampleUtf8);
// Every line is "〈config〉.〈section〉[.〈option〉]=〈value〉", one at least of
// the dhcp configuration.
bool LooksLikeUciShow(std::string_view sampleUtf8);
std::unique_ptr<TableLayout> MakeOpenWrtConfigLayout(std::string_view textUtf8);
std::unique_ptr<TableLayout> MakeUciShowLayout(std::string_view textUtf8);

}  // namespace venbrook
