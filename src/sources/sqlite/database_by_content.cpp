#include "sources/sqlite/database_by_content.h"

#include <optional>

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
  RowSink sink(request.list, request.rule);
  if (!ReadMachineTable(request.connection.handle(), table, sink)) {
    sink.abandon();
    return {LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, NoListReason::StoppedPartWay)};
  }
  sink.finish();
  return {LoadOutcome::Loaded, sink.rows(), MessageText(MachineTableWords(table))};
}

}  // namespace

ReadResult ReadDatabaseByContent(const ReadRequest& request) {
  if (!request.connection.open(request.path)) return NoList(request, NoListReason::CannotOpen);
  if (const SourceProfile* product = ProductByContent(request.connection.handle())) {
    ReadResult result = ReadProductRows(*product, request);
    result.reason = result.outcome == LoadOutcome::Loaded
                        ? MessageText(RecognisedProductWords(*product))
                        : NoListWords(request.fileName, NoListReason::StoppedPartWay);
    return result;
  }
  const std::optional<MachineTable> table = FindMachineTable(request.connection.handle());
  if (!table) return NoList(request, NoListReason::NoMachineList);
  return ReadTable(request, *table);
}

}  // namespace venbrook
