#include "export/append_lines.h"

#include <optional>

#include "export/whole_lines.h"
#include "platform/os.h"

namespace venbrook {

AppendResult AppendLines(const Path& path, const std::function<std::string_view()>& nextPiece) {
  os::AppendingFile file(path);
  if (!file.isOpen()) return {};
  // Without the former end a failed write could not be cut back.
  const std::optional<std::uint64_t> formerEnd = file.startLength();
  if (!formerEnd) return {true, 0};
  PiecesWritten written;
  for (std::string_view piece = nextPiece(); !piece.empty(); piece = nextPiece()) {
    const std::size_t put = file.append(piece);
    written.add(piece, put);
    if (put < piece.size()) {
      const std::size_t kept = written.wholeLineBytes;
      return {true, file.truncate(*formerEnd + kept) ? kept : 0};
    }
  }
  return {true, written.bytes};
}

}  // namespace venbrook
