#pragma once
// The SQLite statement helpers every database reader shares.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace venbrook {

// A prepared statement, finalized when it goes; get() is null when the SQL
// could not be prepared. SQLite running out of memory, in the prepare or in
// Step, is std::bad_alloc, as any other allocation of a load.
class Statement {
 public:
  Statement(sqlite3* db, std::string_view sqlUtf8);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return statement_; }
  // SQLite's result code of the prepare: SQLITE_BUSY when another program
  // held the database past the busy time-out.
  int prepareStatus() const { return prepareStatus_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
  int prepareStatus_;
};

// sqlite3_step, with SQLITE_NOMEM thrown as std::bad_alloc.
int Step(sqlite3_stmt* statement);

// A result code that means another program holds the database (busy or
// locked), not that the file is damaged or foreign.
bool IsLockedStatus(int status);

// Index of the first result column whose name equals `wantedUtf8` with a-z
// and A-Z taken as equal, or -1.
int FindColumn(sqlite3_stmt* statement, std::string_view wantedUtf8);

// The column's value in the current row as UTF-8 bytes (a number as its
// text, NULL and a missing column as the empty text).
std::string_view ColumnUtf8(sqlite3_stmt* statement, int column);

// How a database stores its texts (PRAGMA encoding): what the bytes of a
// BLOB are read as where a text is wanted.
enum class StoredText { Utf8, Utf16le, Utf16be };
StoredText StoredTextOf(sqlite3* db);

// The column's value in the current row as text (UTF-8), its type asked
// first: NULL the empty text, a number its text, a text as SQLite gives it,
// a BLOB its bytes read as a text in the database's encoding (converted into
// `scratch`). None when a BLOB's bytes are no well-formed text there, or
// when the value holds more than `limit` bytes: no machine's name or MAC.
std::optional<std::string_view> ColumnText(sqlite3_stmt* statement, int column, StoredText stored,
                                           std::string& scratch, std::size_t limit);

// The identifier in double quotes, inner quotes doubled: whatever a table or
// column is called, it stays one name in the query.
std::string QuotedIdentifier(std::string_view nameUtf8);

}  // namespace venbrook
