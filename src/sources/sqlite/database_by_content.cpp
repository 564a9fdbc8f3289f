#include "sources/sqlite/database_by_content.h"

#include "model/text_codec.h"
#include "sources/row_sink.h"
#include "sources/source_words.h"
#include "sources/sqlite/machine_table.h"
#include "sources/sqlite/product_database.h"

namespace venbrook {
namespace {

// The window keeps what it showed, so the file is not held open for it.
ReadResult NoList(const ReadRequest& request, SourceConnection& connection, NoListReason reason) {
  connection.close();
  return {LoadOutcome::NoList, 0, NoListWords(request.fileName, reason)};
}

// A list was there, and could not be read whole: never a part of it, never
// another table in its place.
ReadResult StoppedPartWay(const ReadRequest& request, SourceConnection& connection, NoListReason reason) {
  RowSink(request.list, request.rule).abandon();
  connection.close();
  return {LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, reason)};
}

ReadResult ReadTable(const ReadRequest& request, SourceConnection& connection, const std::string& table) {
  RowSink sink(request.list, request.rule, MacRule::Canonical);
  const MachineTableRead read = ReadMachineTable(connection.handle(), table, sink);
  switch (read.table.outcome) {
    case TableRead::Outcome::Loaded: break;
    case TableRead::Outcome::NoList: return NoList(request, connection, NoListReason::NoMachineList);
    case TableRead::Outcome::TooLarge:
      if (sink.begun()) sink.abandon();
      connection.close();
      return {sink.begun() ? LoadOutcome::ReadFailed : LoadOutcome::NoList, 0,
              TooLargeWords(request.fileName, read.table.bound)};
    case TableRead::Outcome::Damaged:
      return StoppedPartWay(request, connection, read.locked ? NoListReason::Locked : NoListReason::StoppedPartWay);
  }
  sink.finish();
  return {LoadOutcome::Loaded, sink.rows(), TableWords(TableWhat(table), read.table)};
}

}  // namespace

ReadResult ReadDatabaseByContent(const ReadRequest& request, SourceConnection& connection) {
  if (!connection.open(request.path)) return NoList(request, connection, NoListReason::CannotOpen);
  bool locked = false;
  if (const SourceProfile* product = ProductByContent(connection.handle(), locked)) {
    ReadResult result = ReadProductRows(*product, request, connection.handle());
    if (result.reason.empty())
      result.reason = result.outcome == LoadOutcome::Loaded
                          ? MessageText(RecognisedProductWords(*product))
                          : NoListWords(request.fileName, NoListReason::StoppedPartWay);
    return result;
  }
  if (locked) return NoList(request, connection, NoListReason::Locked);
  const FoundTable found = FindMachineTable(connection.handle());
  switch (found.search) {
    case TableSearch::Found: return ReadTable(request, connection, found.table);
    case TableSearch::NoTable: return NoList(request, connection, NoListReason::NoMachineList);
    case TableSearch::Locked: return NoList(request, connection, NoListReason::Locked);
    case TableSearch::Damaged: return StoppedPartWay(request, connection, NoListReason::StoppedPartWay);
    case TableSearch::TooLarge:
      connection.close();
      return {LoadOutcome::NoList, 0, TooLargeWords(request.fileName, found.bound)};
  }
  return NoList(request, connection, NoListReason::NoMachineList);
}

}  // namespace venbrook
