#include "sources/read_machines.h"

#include <sqlite3.h>

#include "model/gbk_text.h"
#include "model/text_codec.h"
#include "sources/source_kind.h"

namespace venbrook {
namespace {

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(statement_);
      statement_ = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

// Index of the first result column whose name equals `wanted` with a-z and
// A-Z taken as equal, or -1.
int FindColumn(sqlite3_stmt* statement, std::string_view wanted) {
  const std::string wantedUtf8 = GbkToUtf8(wanted);
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

// Converts a value the way the list shows it (up to its first NUL), into
// `out`'s buffer: no allocation per value.
void ColumnText(sqlite3_stmt* statement, int column, std::string& out) {
  const std::string_view utf8 = ColumnUtf8(statement, column);
  Utf8ToGbkInto(utf8.substr(0, utf8.find('\0')), out);
}

}  // namespace

LoadOutcome ReadMachines(SourceConnection& connection, std::string_view path, const RenameRule& rule,
                         MachineList& list) {
  const SourceProfile* profile = ProfileForPath(path);
  if (profile == nullptr) return LoadOutcome::Ignored;
  if (!connection.open(path)) return LoadOutcome::OpenFailed;
  list.clear();
  Statement query(connection.handle(), GbkToUtf8(profile->query));
  if (sqlite3_stmt* statement = query.get()) {
    const int nameColumn = FindColumn(statement, profile->nameColumn);
    const int macColumn = FindColumn(statement, profile->macColumn);
    std::string name, mac, newName;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      ColumnText(statement, nameColumn, name);
      ColumnText(statement, macColumn, mac);
      if (profile->upperCaseMac) UpperAsciiInPlace(mac);
      rule.newNameInto(name, newName);
      list.appendQuietly(name, newName, mac);
    }
    list.endBulkAppend();
  }
  return LoadOutcome::Loaded;
}

}  // namespace venbrook
