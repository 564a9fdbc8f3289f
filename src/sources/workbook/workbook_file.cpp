#include "sources/workbook/workbook_file.h"

#include <optional>
#include <string>
#include <utility>

#include "sources/row_sink.h"
#include "sources/source_file.h"
#include "sources/source_words.h"
#include "sources/workbook/workbook.h"

namespace venbrook {
namespace {

constexpr std::string_view kZipLocalHeader = "PK\x03\x04";
constexpr std::string_view kCompoundFileSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

}  // namespace

bool IsZipArchive(std::string_view firstBytes) { return firstBytes.starts_with(kZipLocalHeader); }

bool IsCompoundFile(std::string_view firstBytes) { return firstBytes.starts_with(kCompoundFileSignature); }

ReadResult ReadWorkbookFile(const ReadRequest& request) {
  // A workbook is smaller than the text it holds: the text list's limit is ample.
  std::string bytes;
  if (std::optional<ReadResult> refused = ReadWholeListFile(request, bytes)) return *refused;
  RowSink sink(request.list, request.rule, MacRule::Canonical);
  const WorkbookRead read = ReadWorkbook(std::move(bytes), sink);  // the bytes go before the rows come
  switch (read.outcome) {
    case WorkbookOutcome::Loaded: break;
    case WorkbookOutcome::NoList: return NoListResult(request, NoListReason::NoMachineList);
    case WorkbookOutcome::TooLarge: return ReadResult{LoadOutcome::NoList, 0, TooLargeWords(request.fileName, read.bound)};
    case WorkbookOutcome::Damaged:
      // Part of a workbook never passes for the whole list.
      sink.abandon();
      return {LoadOutcome::ReadFailed, 0, NoListWords(request.fileName, NoListReason::StoppedPartWay)};
  }
  if (read.rows == 0) return NoListResult(request, NoListReason::NoMachineList);
  sink.finish();
  return {LoadOutcome::Loaded, read.rows,
          WorkbookWords(request.fileName, read.sheet, read.columnsWords, read.rows, read.skippedLines, read.firstSkipped)};
}

ReadResult RefuseOldWorkbook(const ReadRequest& request) {
  request.connection.close();
  return NoListResult(request, NoListReason::OldWorkbook);
}

}  // namespace venbrook
