#include "sources/text/text_list_file.h"

#include <string>

#include "platform/os.h"
#include "sources/row_sink.h"
#include "sources/source_words.h"
#include "sources/text/text_list.h"

namespace venbrook {
namespace {

ReadResult NoList(const ReadRequest& request, NoListReason reason) {
  return {LoadOutcome::NoList, 0, NoListWords(request.fileName, reason)};
}

}  // namespace

ReadResult ReadTextListFile(const ReadRequest& request) {
  // The rows no longer come from the database the connection holds.
  request.connection.close();
  std::string bytes;
  switch (os::ReadSourceFile(request.path, kMaxTextListBytes, bytes)) {
    case os::SourceFileRead::Read: break;
    case os::SourceFileRead::CannotOpen: return NoList(request, NoListReason::CannotOpen);
    case os::SourceFileRead::TooLarge: return NoList(request, NoListReason::TooLarge);
    case os::SourceFileRead::Failed: {
      // Part of the file never passes for the whole list.
      RowSink(request.list, request.rule).abandon();
      return {LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, NoListReason::StoppedPartWay)};
    }
  }
  RowSink sink(request.list, request.rule, MacRule::Canonical);
  const TextListRead read = ReadTextList(bytes, sink);
  if (read.rows == 0) return NoList(request, NoListReason::NoMachineList);
  // The window checks the whole list as it hears of the rows: the file's
  // bytes go first, so the two never take memory at once.
  std::string().swap(bytes);
  sink.finish();
  return {LoadOutcome::Loaded, read.rows,
          MessageText(TextListWords(read.columnsWords, read.rows, read.skippedLines, read.firstSkipped))};
}

}  // namespace venbrook
