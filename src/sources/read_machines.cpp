#include "sources/read_machines.h"

#include <sqlite3.h>

#include "model/text_codec.h"
#include "sources/row_sink.h"
#include "sources/source_kind.h"
#include "sources/sqlite_statement.h"

namespace venbrook {

LoadOutcome ReadMachines(SourceConnection& connection, const Path& path, const RenameRule& rule,
                         MachineList& list) {
  const SourceProfile* profile = ProfileForPath(path);
  if (profile == nullptr) return LoadOutcome::Ignored;
  if (!connection.open(path)) return LoadOutcome::OpenFailed;
  RowSink sink(list, rule, profile->upperCaseMac ? MacRule::UpperAscii : MacRule::AsStored);
  sink.begin();
  Statement query(connection.handle(), GbkToUtf8(profile->query));
  if (sqlite3_stmt* statement = query.get()) {
    const int nameColumn = FindColumn(statement, GbkToUtf8(profile->nameColumn));
    const int macColumn = FindColumn(statement, GbkToUtf8(profile->macColumn));
    int status;
    while ((status = sqlite3_step(statement)) == SQLITE_ROW)
      sink.addUtf8(ColumnUtf8(statement, nameColumn), ColumnUtf8(statement, macColumn));
    if (status != SQLITE_DONE) {
      sink.abandon();
      return LoadOutcome::Loaded;
    }
  }
  sink.finish();
  return LoadOutcome::Loaded;
}

}  // namespace venbrook
