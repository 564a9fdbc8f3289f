#include "sources/sqlite/sqlite_statement.h"

#include <sqlite3.h>

#include "model/gbk_text.h"

namespace venbrook {

Statement::Statement(sqlite3* db, std::string_view sqlUtf8)
    : prepareStatus_(sqlite3_prepare_v2(db, sqlUtf8.data(), static_cast<int>(sqlUtf8.size()), &statement_, nullptr)) {
  if (prepareStatus_ != SQLITE_OK) {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(statement_); }

bool IsLockedStatus(int status) {
  const int primary = status & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

int FindColumn(sqlite3_stmt* statement, std::string_view wantedUtf8) {
  const int columns = sqlite3_column_count(statement);
  for (int column = 0; column < columns; ++column) {
    const char* name = sqlite3_column_name(statement, column);
    if (name != nullptr && EqualIgnoringAsciiCase(wantedUtf8, name)) return column;
  }
  return -1;
}

std::string_view ColumnUtf8(sqlite3_stmt* statement, int column) {
  if (column < 0) return {};
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  if (text == nullptr) return {};
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

std::string QuotedIdentifier(std::string_view nameUtf8) {
  std::string quoted = "\"";
  for (const char c : nameUtf8) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

}  // namespace venbrook
