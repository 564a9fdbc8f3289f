#include "sources/text/text_list_file.h"

#include <string>

#include "sources/row_sink.h"
#include "sources/source_words.h"
#include "sources/text/text_list.h"

namespace venbrook {

ReadResult ReadTextListFile(const ReadRequest& request) {
  std::string bytes;
  if (std::optional<ReadResult> refused = ReadWholeListFile(request, bytes)) return *refused;
  RowSink sink(request.list, request.rule, MacRule::Canonical);
  const TextListRead read = ReadTextList(bytes, sink);
  if (read.rows == 0) return NoListResult(request, NoListReason::NoMachineList);
  // The window checks the whole list as it hears of the rows: the file's
  // bytes go first, so the two never take memory at once.
  std::string().swap(bytes);
  sink.finish();
  const std::string columns = ColumnsWords(read.nameColumn, read.macColumn);
  return {LoadOutcome::Loaded, read.rows,
          MessageText(TextListWords(columns, read.rows, read.skippedLines, read.firstSkipped))};
}

}  // namespace venbrook
