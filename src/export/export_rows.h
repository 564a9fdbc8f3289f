#pragma once
#include <functional>
#include <string>

#include "export/message_sink.h"
#include "model/machine_list.h"

namespace venbrook {

// Where and when an export writes; the program uses the desktop and the
// clock, tests their own folder and moment.
struct ExportPlace {
  std::function<std::string()> desktopFolder;
  std::function<double()> now;  // local time as an automation date
};

ExportPlace DesktopNow();

// Writes the selected rows, or every row when none is selected, to the
// time-stamped file on the desktop as "MAC new-name" lines, and tells the
// operator how it went.
void ExportRows(const MachineList& list, MessageSink& messages, const ExportPlace& place);
void ExportSelectedRows(const MachineList& list, MessageSink& messages, const ExportPlace& place);

// The file an export started now would write to.
std::string ExportPath(const ExportPlace& place);

}  // namespace venbrook
