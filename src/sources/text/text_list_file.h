#pragma once
#include "sources/machine_source.h"
#include "sources/source_file.h"

namespace venbrook {

// Any file that is not an SQLite database, read as a text list.
ReadResult ReadTextListFile(const ReadRequest& request);

}  // namespace venbrook
