#pragma once
// The one seam every source of a machine list sits behind. A product's own
// file is known by its name; every other file by its first bytes, through a
// table of readers asked in turn, with the text list as the fallback.
// Whatever a reader reads goes through one `RowSink`, and the result says
// what came of it in words the window can show.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "model/machine_list.h"
#include "model/message_text.h"
#include "model/rename_rule.h"
#include "platform/path.h"
#include "sources/sqlite/source_connection.h"

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

// What a reader is handed.
struct ReadRequest {
  const Path& path;
  std::string_view fileName;  // its part after the last backslash or slash (UTF-8), for the label
  const RenameRule& rule;
  MachineList& list;
  SourceConnection& connection;
};

// A kind of file recognised by its content. `claims` looks at the file's
// first bytes (up to kSampleBytes, fewer for a shorter file); the first
// reader whose `claims` holds reads the file.
struct ContentReader {
  std::string_view name;  // what the row reads, for whoever reads the table
  bool (*claims)(std::string_view firstBytes);
  ReadResult (*read)(const ReadRequest& request);
};

// Enough of a file to tell its kind: a database's header, and enough lines
// of text to tell a router's file from a spreadsheet's.
constexpr std::size_t kSampleBytes = 4096;

// The content readers in the order they are asked. Whatever none claims is
// read by kFallbackReader: as a text list, which says when it finds none.
extern const ContentReader kContentReaders[];
extern const ContentReader kFallbackReader;

// One pair of the open-file dialog: "<kind>(<pattern>)|<pattern>".
struct DialogFilter {
  std::string_view kindUtf8;
  std::string_view pattern;
};

// Rebuilds the machine list from the file at `path`: a product's file by
// its exact name (products.h), else any existing file by its content. Each
// row is renamed by `rule`.
ReadResult ReadMachines(SourceConnection& connection, const Path& path, const RenameRule& rule,
                        MachineList& list);

// The open-file dialog's filter, "shown|pattern|...", one pair per kind of
// file in the order the operator looks for them, and one for every file
// (GBK).
std::string SourceFilter();

}  // namespace venbrook
