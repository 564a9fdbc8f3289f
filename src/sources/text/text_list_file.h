#pragma once
#include <cstdint>

#include "sources/machine_source.h"

namespace venbrook {

// A machine list kept as text is read whole; a larger file is not a list an
// operator keeps, and is refused before anything is read.
constexpr std::uint64_t kMaxTextListBytes = 64ull * 1024 * 1024;

// Any file that is not an SQLite database, read as a text list.
ReadResult ReadTextListFile(const ReadRequest& request);

}  // namespace venbrook
