#pragma once
// Tables laid out with blanks, as switches, routers, arp, netsh,
// PowerShell's Format-Table and scanners print them (table_walk.h finds
// them and cuts their lines; table_traits.h tells what they are). The
// columns are named by their headings; tables whose headings agree share
// their columns, so the tables Windows's arp -a prints an interface each,
// or the outputs of several switches one after the other, read as one.
//
// RouterOS's prints carry two things of their own. The first column, "#",
// holds each entry's number and its flags ("1 D"): the number stays under
// "#", the flags go under "Flags", and neither is ever a name. A comment
// (";;; A01") is what the operator wrote to tell the entry by, and RouterOS
// gives a lease no other field of the operator's: it is handed over as the
// entry's HOST-NAME, over the name the machine itself sent.
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

// The sample shows a heading of several words over data lines aligned with
// blanks, half of them at least with a MAC (all of them in a table of two
// columns), the first standing as a value of its own. A list
// whose fields are parted by commas, semicolons or tabs never is one.
bool ClaimsAlignedTable(std::string_view sampleUtf8);

// The layout over the whole text, which outlives it.
std::unique_ptr<TableLayout> MakeAlignedLayout(std::string_view textUtf8);

}  // namespace venbrook
