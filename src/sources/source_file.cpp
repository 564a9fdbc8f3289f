#include "sources/source_file.h"

#include "platform/os.h"
#include "sources/row_sink.h"

namespace venbrook {

ReadResult NoListResult(const ReadRequest& request, NoListReason reason) {
  return {LoadOutcome::NoList, 0, NoListWords(request.fileName, reason)};
}

std::optional<ReadResult> ReadWholeListFile(const ReadRequest& request, std::string& bytes) {
  request.connection.close();
  switch (os::ReadSourceFile(request.path, kMaxTextListBytes, bytes)) {
    case os::SourceFileRead::Read: return std::nullopt;
    case os::SourceFileRead::CannotOpen: return NoListResult(request, NoListReason::CannotOpen);
    case os::SourceFileRead::TooLarge: return ReadResult{LoadOutcome::NoList, 0, TooLargeWords(request.fileName, Bound::FileBytes)};
    case os::SourceFileRead::Failed: break;
  }
  RowSink(request.list, request.rule).abandon();
  return ReadResult{LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, NoListReason::StoppedPartWay)};
}

}  // namespace venbrook
