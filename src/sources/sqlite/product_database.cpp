#include "sources/sqlite/product_database.h"

#include <sqlite3.h>

#include "model/text_codec.h"
#include "sources/row_sink.h"
#include "sources/source_words.h"
#include "sources/sqlite/sqlite_statement.h"

namespace venbrook {
namespace {

MessageText LockedWords(const ReadRequest& request) { return NoListWords(request.fileName, NoListReason::Locked); }

}  // namespace

ReadResult ReadProductFile(const SourceProfile& profile, const ReadRequest& request, SourceConnection& connection) {
  if (!connection.open(request.path)) return {LoadOutcome::OpenFailed};
  return ReadProductRows(profile, request, connection.handle());
}

ReadResult ReadProductRows(const SourceProfile& profile, const ReadRequest& request, sqlite3* db) {
  RowSink sink(request.list, request.rule, profile.upperCaseMac ? MacRule::UpperAscii : MacRule::AsStored);
  // A query that cannot be prepared (no such table, a locked or foreign
  // file) reads as no rows.
  Statement query(db, GbkToUtf8(profile.query));
  if (sqlite3_stmt* statement = query.get()) {
    const int nameColumn = FindColumn(statement, GbkToUtf8(profile.nameColumn));
    const int macColumn = FindColumn(statement, GbkToUtf8(profile.macColumn));
    int status;
    while ((status = Step(statement)) == SQLITE_ROW)
      sink.addUtf8(ColumnUtf8(statement, nameColumn), ColumnUtf8(statement, macColumn));
    // Only SQLITE_DONE is the end of the rows: a damaged page or a lock that
    // outlasted the time-out stops the read part-way.
    if (status != SQLITE_DONE) {
      sink.abandon();
      return {LoadOutcome::ReadFailed, 0, IsLockedStatus(status) ? LockedWords(request) : MessageText()};
    }
  }
  sink.finish();
  // The empty list of a database its product holds locked is no empty café:
  // the label says so, and when to try again.
  if (query.get() == nullptr && IsLockedStatus(query.prepareStatus()))
    return {LoadOutcome::Loaded, 0, LockedWords(request)};
  return {LoadOutcome::Loaded, sink.rows()};
}

const SourceProfile* ProductByContent(sqlite3* db, bool& locked) {
  locked = false;
  for (const SourceProfile& profile : kSourceProfiles) {
    Statement query(db, GbkToUtf8(profile.query));
    if (query.get() == nullptr && IsLockedStatus(query.prepareStatus())) {
      locked = true;  // the first wait is the only one
      return nullptr;
    }
    if (query.get() != nullptr && FindColumn(query.get(), GbkToUtf8(profile.nameColumn)) >= 0 &&
        FindColumn(query.get(), GbkToUtf8(profile.macColumn)) >= 0)
      return &profile;
  }
  return nullptr;
}

}  // namespace venbrook
