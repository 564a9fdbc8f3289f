#pragma once
#include "commands/window_port.h"
#include "export/export_file.h"
#include "model/machine_list.h"

namespace venbrook {

// Writes the selected rows, or every row when none is selected, to the
// time-stamped file on the desktop as "MAC new-name" lines, and tells the
// operator how it went.
void ExportRows(const MachineList& list, MessageSink& messages, const ExportPlace& place);
void ExportSelectedRows(const MachineList& list, MessageSink& messages, const ExportPlace& place);

}  // namespace venbrook
