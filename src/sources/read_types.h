#pragma once
// What every reader of a machine list is handed and gives back: the seam at
// the bottom of the sources, which includes no reader. The table that asks
// the readers in turn (machine_source.h) sits above them all.
#include <cstddef>
#include <string_view>
#include <utility>

#include "model/machine_list.h"
#include "model/message_text.h"
#include "model/rename_rule.h"
#include "platform/path.h"

namespace venbrook {

enum class LoadOutcome {
  Ignored,     // no reader takes the path (no such file, a folder): nothing changed
  OpenFailed,  // a product's file that could not be opened: list as before
  Loaded,      // the list rebuilt from the whole source (possibly empty)
  ReadFailed,  // the read stopped before its end: the list emptied, never a part of it
  NoList,      // the file holds no machine list: nothing changed, `reason` says why
};

struct ReadResult {
  ReadResult(LoadOutcome outcome, int rows = 0, MessageText reason = MessageText())
      : outcome(outcome), rows(rows), reason(std::move(reason)) {}

  LoadOutcome outcome;
  int rows;
  // For the operator: where the rows came from, or why none did. Empty for
  // a product's file under its own name, which the path box names well
  // enough.
  MessageText reason;
};

// What a reader is handed. A database's reader is handed the one SQLite
// connection besides.
struct ReadRequest {
  const Path& path;
  std::string_view fileName;  // its part after the last backslash or slash (UTF-8), for the label
  const RenameRule& rule;
  MachineList& list;
};

// Enough of a file to tell its kind: a database's header, and enough lines
// of text to tell a router's file from a spreadsheet's.
constexpr std::size_t kSampleBytes = 4096;

}  // namespace venbrook
