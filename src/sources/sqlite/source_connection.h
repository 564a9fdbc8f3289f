#pragma once
#include "platform/path.h"

struct sqlite3;

namespace venbrook {

// The process's one SQLite connection. Each load reopens it; it stays open
// between loads, holding the product's database, and closes when released.
class SourceConnection {
 public:
  SourceConnection() = default;
  ~SourceConnection() { close(); }
  SourceConnection(const SourceConnection&) = delete;
  SourceConnection& operator=(const SourceConnection&) = delete;

  // Closes any open database, then opens the file at `path` if it
  // exists. Never creates a file, and never folds a write-ahead log found
  // beside it into the database.
  bool open(const Path& path);
  void close();
  bool isOpen() const { return db_ != nullptr; }
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace venbrook
