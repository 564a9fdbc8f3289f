#include "sources/workbook/workbook_file.h"

#include <optional>
#include <string>
#include <utility>

#include "sources/row_sink.h"
#include "sources/list_file.h"
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
  // A workbook is smaller than the text it holds: the text file's limit is ample.
  return ReadListFile(request, [](std::string& bytes, const ReadRequest& request, RowSink& sink) {
    WorkbookRead read = ReadWorkbook(std::move(bytes), sink);  // the bytes go before the rows come
    return ListFileRead{std::move(read.table), WorkbookWhat(request.fileName, read.sheet)};
  });
}

ReadResult RefuseOldWorkbook(const ReadRequest& request) {
  return NoListResult(request, NoListReason::OldWorkbook);
}

}  // namespace venbrook
