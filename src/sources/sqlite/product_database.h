#pragma once
// A diskless product's own database, read by its profile's query.
#include "sources/read_types.h"
#include "sources/sqlite/source_connection.h"
#include "sources/products.h"

struct sqlite3;

namespace venbrook {

// The product's file under its own name: the connection is reopened on it
// (OpenFailed when that fails), then its rows are read. No words go to the
// source label: the product's own file name in the path box says it all.
ReadResult ReadProductFile(const SourceProfile& profile, const ReadRequest& request, SourceConnection& connection);

// The product's rows through its query on the connection, already open:
// the list is rebuilt, empty when the query cannot run, and emptied when the
// read stops before its end. A lock past the busy time-out gives the same
// list and, alone of the product's outcomes, words for the label.
ReadResult ReadProductRows(const SourceProfile& profile, const ReadRequest& request, sqlite3* db);

// The product whose table the database holds: the first profile of
// kSourceProfiles whose query prepares and whose result has both its name
// column and its MAC column (ASCII letter case ignored, as the profile's own
// read finds them); nullptr when neither, and when another program holds
// the database (`locked`: the first wait is the only one).
const SourceProfile* ProductByContent(sqlite3* db, bool& locked);

}  // namespace venbrook
