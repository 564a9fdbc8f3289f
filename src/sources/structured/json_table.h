#pragma once
// Where a JSON text holds its table of machines. Records are objects: the
// objects of an array (a router's API answers with one, bare or wrapped:
// `{"meta":{…},"data":[…]}`, `{"result":{"dhcp_leases":[…]}}`,
// `[{"result":0,"arguments":{"leases":[…]}}]`), or the text's own values
// when they are objects (PowerShell's ConvertTo-Json of one object, JSON
// Lines' one object a line).
//
// The table is found at the first object, in the text's order of their
// ends, that holds a MAC-looking value of its own: in its members, in
// objects nested in it, or first in an array of plain values (an array of
// objects in it is a table of its own). An object of an array makes that
// array the table, unless an object around it, in an array too, holds a
// MAC of its own already: a device with its ports is the device. Arrays
// are named by their key, so every array of that name is the table (a
// configuration's `reservations` in each of its subnets); an array that is
// the text itself, or lies straight in another array, has its parent's
// name. One of the text's own values makes the text's values the records
// (PowerShell's one object, JSON Lines). The search reads no further than
// that object: the table's two walks read the rest.
#include <string>
#include <string_view>

#include "sources/table/table_layout.h"

namespace venbrook {

struct JsonTable {
  enum class Where : std::uint8_t {
    None,    // no records hold a MAC: no table
    Array,   // the objects of the arrays named `name`
    Values,  // the text's own values
  };
  Where where = Where::None;
  std::string name;
  // Sightings when the first record names a time or the arrays' name says
  // leases (record_hints.h); else a list.
  RecordKind kind = RecordKind::List;
  // Not Done: the text broke its format or passed a bound before any table
  // was found, which the walks would meet as well.
  LayoutEnd end;
};

JsonTable FindJsonTable(std::string_view text);

}  // namespace venbrook
