#pragma once
// The mark the program leaves beside config.ini while it loads the stored
// file at start, removed as soon as that load returns. A mark still there
// at the next start names a file the program ended inside of: the office
// suites' guard, so that a file that takes the program down is never
// loaded again by itself, start after start.
#include <optional>

#include "platform/path.h"

namespace venbrook {

// The mark's file in the program's folder, "config.ini.loading".
Path StartMarkerFile(const Path& programDirectory);

// Marks the load of `loading` as begun; false when the folder cannot be
// written (a read-only program folder: then nothing guards the start).
bool MarkStartLoad(const Path& marker, const Path& loading);

// The file whose load at start never returned; none without a mark.
std::optional<Path> UnreturnedStartLoad(const Path& marker);

// The load returned: the mark goes.
void ClearStartMark(const Path& marker);

}  // namespace venbrook
