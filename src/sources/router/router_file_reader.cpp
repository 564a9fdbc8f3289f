#include "sources/router/router_file_reader.h"

#include <optional>
#include <string>

#include "sources/router/router_files.h"
#include "sources/row_sink.h"
#include "sources/source_file.h"
#include "sources/source_words.h"

namespace venbrook {

bool ClaimsRouterFile(std::string_view firstBytes) { return RecogniseRouterFile(firstBytes).has_value(); }

ReadResult ReadRouterFile(const ReadRequest& request) {
  std::string bytes;
  if (std::optional<ReadResult> refused = ReadWholeListFile(request, bytes)) return *refused;
  RowSink sink(request.list, request.rule, MacRule::Canonical);
  const std::optional<RouterFileRead> read = ReadRouterBytes(bytes, sink);
  if (!read || read->rows == 0) return NoListResult(request, NoListReason::NoMachineList);
  // The file's bytes go before the window checks the rows, as a text list's do.
  std::string().swap(bytes);
  sink.finish();
  return {LoadOutcome::Loaded, read->rows,
          MessageText(RouterFileWords(read->kind, read->rows, read->skippedLines, read->firstSkipped))};
}

}  // namespace venbrook
