// Fuzz target: the readers of routers' and DHCP servers' files
// (ReadRouterBytes) over a whole file's bytes: dnsmasq's lease file,
// RouterOS's printed lease table and ARP tables, in any encoding, cut
// anywhere, with unclosed quotes, escapes and junk.
// Input: the file's bytes.
// Properties checked on every input:
//   - the bytes are read exactly when RecogniseRouterFile names a kind, and
//     as that kind; the same bytes read twice give the same rows and counts;
//   - the count of rows is the list's; every MAC is in the one form
//     00-1A-2B-3C-4D-5E and a machine's (not broadcast, multicast or zero);
//     every name is well-formed code page 936 (FF, Windows's byte for
//     U+F8F5, as in any converted text) without CR, LF or NUL;
//   - rows are never more than the text's lines, and skipped lines never
//     more than its lines;
//   - the first skipped line numbers are min(3, skipped) rising numbers of
//     lines of the text.
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "model/mac_address.h"
#include "model/machine_list.h"
#include "sources/router/router_files.h"
#include "sources/text/text_encoding.h"

namespace venbrook {
namespace {

struct Outcome {
  std::optional<RouterFileRead> read;
  std::vector<std::string> cells;  // name and MAC of each row
  bool operator==(const Outcome& other) const {
    if (read.has_value() != other.read.has_value() || cells != other.cells) return false;
    return !read || (read->kind == other.read->kind && read->rows == other.read->rows &&
                     read->skippedLines == other.read->skippedLines && read->firstSkipped == other.read->firstSkipped);
  }
};

Outcome Read(std::string_view bytes) {
  MachineList list;
  const RenameRule rule;
  RowSink sink(list, rule, MacRule::Canonical);
  Outcome outcome;
  outcome.read = ReadRouterBytes(bytes, sink);
  FUZZ_CHECK(list.count() == (outcome.read ? outcome.read->rows : 0));
  for (int row = 0; row < list.count(); ++row) {
    outcome.cells.emplace_back(list.cellText(row, kMachineNameColumn));
    outcome.cells.emplace_back(list.cellText(row, kMacColumn));
  }
  return outcome;
}

// Lines as the readers number them (a break is CR LF, LF or CR; CR CR LF
// counts as two here, one there: a bound all the same).
int LinesOf(std::string_view text) {
  int lines = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '\n' || (c == '\r' && text.substr(at, 2) != "\r\n")) ++lines;
  }
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') ++lines;
  return lines;
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const Outcome outcome = Read(input);
  FUZZ_CHECK(Read(input) == outcome);
  const std::optional<RouterFileKind> kind = RecogniseRouterFile(input);
  FUZZ_CHECK(kind.has_value() == outcome.read.has_value());
  if (!outcome.read) return 0;
  const RouterFileRead& read = *outcome.read;
  FUZZ_CHECK(read.kind == *kind);

  for (std::size_t cell = 0; cell < outcome.cells.size(); cell += 2) {
    const std::string& name = outcome.cells[cell];
    const std::string& mac = outcome.cells[cell + 1];
    const std::int64_t number = MacNumber(mac);
    FUZZ_CHECK(IsMachineAddress(number) && CanonicalMacText(number) == mac);
    // The file is decoded to UTF-8 before it is read, so a GBK byte FF comes
    // back as Windows writes U+F8F5, as from any converted text.
    FUZZ_CHECK(fuzz::Cp936Characters(name, true) != std::string_view::npos);
    FUZZ_CHECK(name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
  }

  const int lines = LinesOf(DecodeToUtf8(input));
  FUZZ_CHECK(read.rows <= lines);
  FUZZ_CHECK(read.skippedLines <= lines);
  FUZZ_CHECK(static_cast<int>(read.firstSkipped.size()) == std::min(read.skippedLines, 3));
  for (std::size_t i = 0; i < read.firstSkipped.size(); ++i) {
    FUZZ_CHECK(read.firstSkipped[i] >= 1 && read.firstSkipped[i] <= lines);
    FUZZ_CHECK(i == 0 || read.firstSkipped[i] > read.firstSkipped[i - 1]);
  }
  return 0;
}
