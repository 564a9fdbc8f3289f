#pragma once
#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/path.h"

namespace venbrook {

struct AppendResult {
  bool opened = false;
  std::size_t bytesKept = 0;
};

// Appends to the file (created if missing) the pieces `nextPiece` hands out,
// in order, until it hands out an empty one, holding the file shut to other
// writers meanwhile. What was there before is never touched; after a failed
// write no further piece is asked for and the file is cut back to its former
// end plus the whole lines written, which `bytesKept` then counts (0 when the
// cut failed too, or when the former end could not be read, in which case
// nothing is written).
AppendResult AppendLines(const Path& path, const std::function<std::string_view()>& nextPiece);

}  // namespace venbrook
