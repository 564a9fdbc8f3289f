#include "sources/sqlite/database_by_content.h"

#include "sources/row_sink.h"
#include "sources/source_words.h"
#include "sources/sqlite/machine_table.h"
#include "sources/sqlite/product_database.h"

namespace venbrook {
namespace {

// The window keeps what it showed, so the file is not held open for it.
ReadResult NoList(const ReadRequest& request, NoListReason reason) {
  request.connection.close();
  return {LoadOutcome::NoList, 0, NoListWords(request.fileName, reason)};
}

ReadResult ReadTable(const ReadRequest& request, const MachineTable& table) {
  RowSink sink(request.list, request.rule, MacRule::Canonical);
  const TableRead read = ReadMachineTable(request.connection.handle(), table, sink);
  if (!read.whole) {
    sink.abandon();
    return {LoadOutcome::ReadFailed, 0,
            NoListWords(request.fileName, read.locked ? NoListReason::Locked : NoListReason::StoppedPartWay)};
  }
  sink.finish();
  MachineTable shown = table;
  if (read.namesEmpty) shown.nameColumn.clear();
  return {LoadOutcome::Loaded, sink.rows(), MessageText(MachineTableWords(shown, read.skippedRows))};
}

}  // namespace

ReadResult ReadDatabaseByContent(const ReadRequest& request) {
  if (!request.connection.open(request.path)) return NoList(request, NoListReason::CannotOpen);
  bool locked = false;
  if (const SourceProfile* product = ProductByContent(request.connection.handle(), locked)) {
    ReadResult result = ReadProductRows(*product, request);
    if (result.reason.empty())
      result.reason = result.outcome == LoadOutcome::Loaded
                          ? MessageText(RecognisedProductWords(*product))
                          : NoListWords(request.fileName, NoListReason::StoppedPartWay);
    return result;
  }
  if (locked) return NoList(request, NoListReason::Locked);
  const FoundTable found = FindMachineTable(request.connection.handle());
  switch (found.search) {
    case TableSearch::Found: return ReadTable(request, found.table);
    case TableSearch::NoTable: return NoList(request, NoListReason::NoMachineList);
    case TableSearch::Locked: return NoList(request, NoListReason::Locked);
    case TableSearch::Damaged: {
      // A list was there, and could not be read whole: never a part of it,
      // never another table in its place.
      RowSink(request.list, request.rule).abandon();
      request.connection.close();
      return {LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, NoListReason::StoppedPartWay)};
    }
  }
  return NoList(request, NoListReason::NoMachineList);
}

}  // namespace venbrook
