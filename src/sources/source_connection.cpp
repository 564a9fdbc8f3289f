#include "sources/source_connection.h"

#include <sqlite3.h>

#include "platform/os.h"

namespace venbrook {
namespace {

// The product's server may hold the database for a moment; wait that out
// rather than show an empty café.
constexpr int kBusyTimeoutMilliseconds = 2000;

}  // namespace

bool SourceConnection::open(std::string_view path) {
  close();
  if (!os::CanOpenForReading(path)) return false;
  sqlite3* db = nullptr;
  const int status = sqlite3_open_v2(os::SqliteFileName(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (status != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMilliseconds);
  db_ = db;
  return true;
}

void SourceConnection::close() {
  if (db_ == nullptr) return;
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

}  // namespace venbrook
