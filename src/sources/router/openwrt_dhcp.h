#pragma once
// OpenWrt's static leases, in its UCI configuration.
//
// /etc/config/dhcp (and `uci export dhcp`):
//   config host
//           option name 'A01'
//           option mac '00:1a:2b:3c:4d:01'
//           option ip '192.168.1.11'
// one statement a line: "config 〈type〉 ['〈section〉']", "option 〈key〉 〈value〉",
// "list 〈key〉 〈value〉", "package 〈name〉"; '#' starts a comment; a value is
// in single quotes (as written), double quotes (with '\' escapes) or none,
// pieces written together making one value. `option mac` may hold several
// MACs between blanks, and `list mac` adds one more: each is a row with the
// host's name.
//
// `uci show dhcp`: one option a line, "dhcp.@host[0].name='A01'", sections
// unnamed (@host[0]) or named ("dhcp.cfg01fe=host", then
// "dhcp.cfg01fe.mac='…'"), a list's values quoted one by one.
#include <string_view>

#include "sources/router/router_text.h"

namespace venbrook {

// Their recognition: sources/blocks/openwrt_layout.h.
void ReadOpenWrtConfig(std::string_view text, RouterRows& rows);
void ReadUciShow(std::string_view text, RouterRows& rows);

}  // namespace venbrook
