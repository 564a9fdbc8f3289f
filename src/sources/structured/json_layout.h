#pragma once
// A JSON text as a table: the records json_table.h finds, each object's
// values by their keys. The keys are the columns: a nested object's keys
// joined to its own by a dot (`IPAddress.IPAddressToString`), an array of
// plain values giving its first (a host's first address is its main one),
// an array of objects in a record left out (a table of its own). Numbers,
// true and false are their text as written; null is an empty cell.
// RouterOS's REST answer (entries whose ".id" is "*1") names a lease by its
// comment, else by its host-name, both under host-name, as its prints do.
#include <memory>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

// The first bytes (after a byte-order mark, blanks and comments) open an
// object or an array, and read as JSON as far as they go, one value or
// several: cut short only where the sample ends, or broken after a member
// at least (a damaged JSON file, refused as such).
bool ClaimsJson(std::string_view sampleUtf8);

std::unique_ptr<TableLayout> MakeJsonLayout(std::string_view textUtf8);

}  // namespace venbrook
