#pragma once
#include <string>

#include "commands/window_port.h"
#include "model/machine_list.h"
#include "sources/read_machines.h"
#include "sources/source_connection.h"

namespace venbrook {

// The one load: rebuilds the machine list from the database the path box
// names, each row renamed by the rule the rename boxes hold now, and sets
// the total counter. A file that cannot be opened turns the caption into
// "数据库连接失败" and changes nothing else.
LoadOutcome LoadDatabase(SourceConnection& connection, MachineList& list, LoadView& view);

std::string TotalCounterText(int count);
std::string SelectedCounterText(int count);

}  // namespace venbrook
