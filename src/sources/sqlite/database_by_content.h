#pragma once
#include "sources/read_types.h"
#include "sources/sqlite/source_connection.h"

namespace venbrook {

// An SQLite database under any name but the products' own: a product's
// database recognised by its table, else the machine table found in it.
ReadResult ReadDatabaseByContent(const ReadRequest& request, SourceConnection& connection);

}  // namespace venbrook
