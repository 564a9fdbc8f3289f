#pragma once
#include <string>

#include "commands/typed_naming.h"
#include "commands/window_port.h"
#include "model/machine_list.h"
#include "sources/machine_source.h"
#include "sources/sqlite/source_connection.h"

namespace venbrook {

// The one load: rebuilds the machine list from the file the path box names,
// each row renamed by the rule the rename boxes hold now, or given the name
// typed for its machine (`typed`, when given), and sets the total counter.
// The list's observer hears of the new rows once. A product's file that
// cannot be opened turns the caption into "数据库连接失败" and changes
// nothing else; a file without a machine list changes nothing but the
// source label, which says why. Memory running out anywhere in the read is
// a failed load, never the end of the program: the list is emptied and its
// memory given back, the connection closed, and the label says
// "未载入：〈file〉 太大（内存不足）". The window is told the load begins and ends.
ReadResult LoadDatabase(SourceConnection& connection, MachineList& list, LoadView& view,
                        TypedNaming* typed = nullptr);

std::string TotalCounterText(int count);
std::string SelectedCounterText(int count);

}  // namespace venbrook
