#pragma once
// The one seam every source of a machine list sits behind. A table of
// readers, one entry per kind of file: how it shows in the open-file dialog,
// how it knows a file as its own from the file's name or first bytes, and
// how it reads one. `ReadMachines` picks the reader and runs it; whatever it
// reads goes through one `RowSink`, and the result says what came of it in
// words the window can show.
#include <string>
#include <string_view>
#include <utility>

#include "model/machine_list.h"
#include "model/message_text.h"
#include "model/rename_rule.h"
#include "platform/path.h"
#include "sources/source_connection.h"

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
  // a product's file under its own name, which the window has always shown
  // without a word.
  MessageText reason;
};

// What a reader is handed.
struct ReadRequest {
  const Path& path;
  std::string_view fileName;  // its part after the last backslash (UTF-8)
  const RenameRule& rule;
  MachineList& list;
  SourceConnection& connection;
};

struct SourceReader {
  std::string_view kindUtf8;  // in the open-file dialog: "<kind>(<pattern>)|<pattern>"
  std::string_view pattern;
  // Takes the file by its name alone, before the file is looked at; null
  // for readers that go by content.
  bool (*claimsName)(std::string_view fileName);
  // Takes an existing file by its first bytes; null for readers that go by
  // name. Content readers never see a file that a name reader takes.
  bool (*claimsContent)(std::string_view firstBytes);
  ReadResult (*read)(const ReadRequest& request);
};

// The readers, in the order the open-file dialog lists them.
extern const SourceReader kSourceReaders[];

// Rebuilds the machine list from the file at `path`: a product's file by
// its exact name, else any existing file by its content. Each row is
// renamed by `rule`.
ReadResult ReadMachines(SourceConnection& connection, const Path& path, const RenameRule& rule,
                        MachineList& list);

// The open-file dialog's filter, "shown|pattern|...", one pair per reader
// and one for every file (GBK).
std::string SourceFilter();

}  // namespace venbrook
