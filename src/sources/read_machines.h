#pragma once
#include <string_view>

#include "model/machine_list.h"
#include "model/rename_rule.h"
#include "platform/path.h"
#include "sources/source_connection.h"

namespace venbrook {

enum class LoadOutcome {
  Ignored,     // the file name names neither product: nothing changed
  OpenFailed,  // the file could not be opened: list as before
  Loaded,      // list rebuilt (possibly empty)
};

// Rebuilds the machine list from the database at `path`, in its
// product's query order, each row renamed by `rule`. The connection is
// reopened on that file first.
LoadOutcome ReadMachines(SourceConnection& connection, const Path& path, const RenameRule& rule,
                         MachineList& list);

}  // namespace venbrook
