#pragma once
#include <functional>
#include <vector>

#include "model/machine_list.h"
#include "platform/path.h"

namespace venbrook {

// Where and when an export writes; the program uses the desktop and the
// clock, tests their own folder and moment.
struct ExportPlace {
  std::function<Path()> desktopFolder;
  std::function<double()> now;  // local time as an automation date
};

ExportPlace DesktopNow();

// The file an export started now would write to: the desktop folder and the
// date and time as "yyyyMdhhmmss.txt".
Path ExportPath(const ExportPlace& place);

// How the lines reached the file: all of them, or `linesKept` whole lines
// after a failed write (the file is then cut back to them).
struct LinesWritten {
  bool complete;
  long long linesKept;
};

// Appends one "MAC new-name" line, CR LF ended, per row (every row, or the
// rows given, in their order) to the file at `path`. A CR or LF inside a
// field becomes a space.
LinesWritten WriteExportLines(const Path& path, const MachineList& list);
LinesWritten WriteExportLines(const Path& path, const MachineList& list, const std::vector<int>& rows);

}  // namespace venbrook
