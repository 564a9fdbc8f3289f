#include "sources/sqlite/sqlite_statement.h"

#include <sqlite3.h>

#include <new>

#include "model/gbk_text.h"
#include "platform/utf16.h"
#include "platform/utf8.h"

namespace venbrook {
namespace {

void ThrowIfOutOfMemory(int status) {
  if ((status & 0xFF) == SQLITE_NOMEM) throw std::bad_alloc();
}

// UTF-16 in the given byte order as UTF-8, every surrogate in its pair;
// false for a lone surrogate or half a unit.
bool Utf16AsUtf8(std::string_view bytes, bool bigEndian, std::string& out) {
  if (bytes.size() % 2 != 0) return false;
  out.clear();
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[2 * i]), second = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? first << 8 | second : second << 8 | first;
  };
  const std::size_t units = bytes.size() / 2;
  for (std::size_t at = 0; at < units; ++at) {
    char32_t codePoint = unit(at);
    if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) return false;
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
      const char32_t low = at + 1 < units ? unit(at + 1) : 0;
      if (low < 0xDC00 || low > 0xDFFF) return false;
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
      ++at;
    }
    AppendUtf8(codePoint, out);
  }
  return true;
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sqlUtf8)
    : prepareStatus_(sqlite3_prepare_v2(db, sqlUtf8.data(), static_cast<int>(sqlUtf8.size()), &statement_, nullptr)) {
  ThrowIfOutOfMemory(prepareStatus_);
  if (prepareStatus_ != SQLITE_OK) {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(statement_); }

int Step(sqlite3_stmt* statement) {
  const int status = sqlite3_step(statement);
  ThrowIfOutOfMemory(status);
  return status;
}

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
  if (text == nullptr) {
    // NULL, or a value whose text SQLite could not make room for.
    ThrowIfOutOfMemory(sqlite3_errcode(sqlite3_db_handle(statement)));
    return {};
  }
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

StoredText StoredTextOf(sqlite3* db) {
  Statement query(db, "PRAGMA main.encoding");
  if (query.get() == nullptr || Step(query.get()) != SQLITE_ROW) return StoredText::Utf8;
  const std::string_view name = ColumnUtf8(query.get(), 0);
  return name == "UTF-16le" ? StoredText::Utf16le : name == "UTF-16be" ? StoredText::Utf16be : StoredText::Utf8;
}

std::optional<std::string_view> ColumnText(sqlite3_stmt* statement, int column, StoredText stored,
                                           std::string& scratch, std::size_t limit) {
  if (column < 0) return std::string_view{};
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL: return std::string_view{};
    case SQLITE_BLOB: {
      const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
      if (size > limit) return std::nullopt;
      const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
      if (data == nullptr && size > 0) throw std::bad_alloc();
      const std::string_view bytes(data, size);
      if (stored == StoredText::Utf8) {
        if (!IsWellFormedUtf8(bytes)) return std::nullopt;
        return bytes;
      }
      if (!Utf16AsUtf8(bytes, stored == StoredText::Utf16be, scratch)) return std::nullopt;
      return std::string_view(scratch);
    }
    default: {
      const std::string_view text = ColumnUtf8(statement, column);
      if (text.size() > limit) return std::nullopt;
      return text;
    }
  }
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
