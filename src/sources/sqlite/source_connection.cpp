#include "sources/sqlite/source_connection.h"

#include <sqlite3.h>

#include "platform/os.h"

namespace venbrook {
namespace {

// The product's server may hold the database for a moment; wait that out
// rather than show an empty café.
constexpr int kBusyTimeoutMilliseconds = 2000;

}  // namespace

bool SourceConnection::open(const Path& path) {
  close();
  if (!os::CanOpenForReading(path)) return false;
  // A write-ahead log beside the file holds changes its product has not yet
  // copied into the database. Whoever closes the last connection copies them
  // and deletes the log; that is the product's work, never a load's, so a log
  // found here is left as it is. (A log that SQLite makes for this
  // connection alone is empty and goes again at the close.)
  const bool productsLog = os::PathExists(path.withSuffix("-wal"));
  sqlite3* db = nullptr;
  // Only the window's thread uses the connection: no lock around each call
  // (a lock and an unlock for every value read).
  const int status = sqlite3_open_v2(os::SqliteFileName(path).c_str(), &db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (status != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  if (productsLog) sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
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
