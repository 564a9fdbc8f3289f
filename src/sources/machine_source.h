#pragma once
// The one seam every source of a machine list sits behind. A product's own
// file is known by its name; every other file by its first bytes: an SQLite
// database goes to its reader with the one connection, any other file to
// the table of readers asked in turn, with the text file as the fallback.
// Whatever a reader reads goes through one `RowSink`, and the result says
// what came of it in words the window can show.
#include <string>
#include <string_view>

#include "sources/read_types.h"
#include "sources/sqlite/source_connection.h"

namespace venbrook {

// A kind of file recognised by its content. `claims` looks at the file's
// first bytes (up to kSampleBytes, fewer for a shorter file); the first
// reader whose `claims` holds reads the file.
struct ContentReader {
  std::string_view name;  // what the row reads, for whoever reads the table
  bool (*claims)(std::string_view firstBytes);
  ReadResult (*read)(const ReadRequest& request);
};

// The content readers in the order they are asked. Whatever none claims is
// read by kFallbackReader: as text, which says when it finds no list.
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
