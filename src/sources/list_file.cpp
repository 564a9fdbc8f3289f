#include "sources/list_file.h"

#include "platform/os.h"
#include "sources/read_bounds.h"
#include "sources/source_words.h"

namespace venbrook {

ReadResult NoListResult(const ReadRequest& request, NoListReason reason) {
  return {LoadOutcome::NoList, 0, NoListWords(request.fileName, reason)};
}

ReadResult ReadListFile(const ReadRequest& request, ListFileReader read) {
  std::string bytes;
  switch (os::ReadSourceFile(request.path, kMaxFileBytes, bytes)) {
    case os::SourceFileRead::Read: break;
    case os::SourceFileRead::CannotOpen: return NoListResult(request, NoListReason::CannotOpen);
    case os::SourceFileRead::TooLarge: return {LoadOutcome::NoList, 0, TooLargeWords(request.fileName, Bound::FileBytes)};
    case os::SourceFileRead::Failed:
      RowSink(request.list, request.rule).abandon();
      return {LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, NoListReason::StoppedPartWay)};
  }
  RowSink sink(request.list, request.rule, MacRule::Canonical);
  const ListFileRead file = read(bytes, request, sink);
  // The window checks the whole list as it hears of the rows: the file's
  // bytes go first, so the two never take memory at once.
  std::string().swap(bytes);
  const TableRead& table = file.table;
  switch (table.outcome) {
    case TableRead::Outcome::Loaded: break;
    case TableRead::Outcome::NoList: return NoListResult(request, NoListReason::NoMachineList);
    case TableRead::Outcome::TooLarge:
      // Every bound is met while the columns are judged, before any row is
      // added: the list stays as it was.
      if (sink.begun()) sink.abandon();
      return {sink.begun() ? LoadOutcome::ReadFailed : LoadOutcome::NoList, 0,
              TooLargeWords(request.fileName, table.bound)};
    case TableRead::Outcome::Damaged:
      sink.abandon();
      return {LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, NoListReason::StoppedPartWay)};
  }
  sink.finish();
  return {LoadOutcome::Loaded, table.rows, TableWords(file.what, table)};
}

}  // namespace venbrook
