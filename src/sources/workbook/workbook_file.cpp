#include "sources/workbook/workbook_file.h"

#include <string>
#include <utility>

#include "platform/os.h"
#include "sources/row_sink.h"
#include "sources/source_words.h"
#include "sources/text/text_list_file.h"
#include "sources/workbook/workbook.h"

namespace venbrook {
namespace {

constexpr std::string_view kZipLocalHeader = "PK\x03\x04";
constexpr std::string_view kCompoundFileSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

ReadResult NoList(const ReadRequest& request, NoListReason reason) {
  return {LoadOutcome::NoList, 0, NoListWords(request.fileName, reason)};
}

ReadResult Failed(const ReadRequest& request, RowSink& sink) {
  // Part of a workbook never passes for the whole list.
  sink.abandon();
  return {LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, NoListReason::StoppedPartWay)};
}

}  // namespace

bool IsZipArchive(std::string_view firstBytes) { return firstBytes.starts_with(kZipLocalHeader); }

bool IsCompoundFile(std::string_view firstBytes) { return firstBytes.starts_with(kCompoundFileSignature); }

ReadResult ReadWorkbookFile(const ReadRequest& request) {
  // The rows no longer come from the database the connection holds.
  request.connection.close();
  RowSink sink(request.list, request.rule, MacRule::Canonical);
  std::string bytes;
  // A workbook is smaller than the text it holds: the text list's limit is ample.
  switch (os::ReadSourceFile(request.path, kMaxTextListBytes, bytes)) {
    case os::SourceFileRead::Read: break;
    case os::SourceFileRead::CannotOpen: return NoList(request, NoListReason::CannotOpen);
    case os::SourceFileRead::TooLarge: return NoList(request, NoListReason::TooLarge);
    case os::SourceFileRead::Failed: return Failed(request, sink);
  }
  const WorkbookRead read = ReadWorkbook(std::move(bytes), sink);  // the bytes go before the rows come
  switch (read.outcome) {
    case WorkbookOutcome::Loaded: break;
    case WorkbookOutcome::NoList: return NoList(request, NoListReason::NoMachineList);
    case WorkbookOutcome::TooLarge: return NoList(request, NoListReason::TooLarge);
    case WorkbookOutcome::Damaged: return Failed(request, sink);
  }
  if (read.rows == 0) return NoList(request, NoListReason::NoMachineList);
  sink.finish();
  return {LoadOutcome::Loaded, read.rows,
          WorkbookWords(request.fileName, read.sheet, read.columnsWords, read.rows, read.skippedLines, read.firstSkipped)};
}

ReadResult RefuseOldWorkbook(const ReadRequest& request) {
  request.connection.close();
  return NoList(request, NoListReason::OldWorkbook);
}

}  // namespace venbrook
