// Fuzz target: the workbook reader (ReadWorkbook) over a whole file's bytes.
// Input, either:
//   - bytes starting with "PK": the archive itself (damaged headers, sizes,
//     deflated data, a zip of anything);
//   - otherwise three parts cut at NUL bytes, the <sheetData> rows of a
//     sheet, the shared strings' <si> elements and the styles' <numFmts> and
//     <cellXfs>, which the target puts into a workbook of its own making,
//     once deflated and once stored, through minizip's zip writer.
// Properties checked on every input:
//   - the same bytes read twice give the same outcome, rows and counts;
//   - rows reach the list only when the outcome is Loaded, and then as many
//     as counted; the first skipped rows are min(3, skipped) sheet row numbers
//     from 1 to 1,048,576;
//   - every MAC is in the one canonical form, every name well-formed code page
//     936 without control characters;
//   - a made workbook reads the same deflated and stored.
#include <zip.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "model/machine_list.h"
#include "sources/columns/machine_words.h"
#include "sources/workbook/workbook.h"

namespace venbrook {
namespace {

struct Outcome {
  WorkbookRead read;
  std::vector<std::string> cells;
  bool operator==(const Outcome& other) const {
    const TableRead &a = read.table, &b = other.read.table;
    return cells == other.cells && a.outcome == b.outcome && a.rows == b.rows && a.skippedLines == b.skippedLines &&
           a.firstSkipped == b.firstSkipped && read.sheet == other.read.sheet && a.nameColumn == b.nameColumn &&
           a.macColumn == b.macColumn;
  }
};

Outcome Read(std::string_view bytes) {
  MachineList list;
  const RenameRule rule{"W-", "PC", "X"};
  RowSink sink(list, rule, MacRule::Canonical);
  Outcome outcome;
  outcome.read = ReadWorkbook(std::string(bytes), sink);
  FUZZ_CHECK(list.count() == (outcome.read.table.outcome == TableRead::Outcome::Loaded ? outcome.read.table.rows : 0));
  for (int row = 0; row < list.count(); ++row)
    for (int column = 0; column < kColumnCount; ++column) outcome.cells.emplace_back(list.cellText(row, column));
  return outcome;
}

// minizip's writer into a string: the archive the made workbook becomes.
struct Archive {
  std::string bytes;
  std::size_t at = 0;
};
voidpf ZCALLBACK Open(voidpf, const void* archive, int) { return const_cast<void*>(archive); }
uLong ZCALLBACK ReadNothing(voidpf, voidpf, void*, uLong) { return 0; }
uLong ZCALLBACK Write(voidpf, voidpf stream, const void* data, uLong size) {
  auto& archive = *static_cast<Archive*>(stream);
  if (archive.bytes.size() < archive.at + size) archive.bytes.resize(archive.at + size);
  archive.bytes.replace(archive.at, size, static_cast<const char*>(data), size);
  archive.at += size;
  return size;
}
ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<Archive*>(stream)->at; }
long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto& archive = *static_cast<Archive*>(stream);
  const std::size_t base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? archive.at : archive.bytes.size();
  archive.at = base + offset;
  return 0;
}
int ZCALLBACK Close(voidpf, voidpf) { return 0; }
int ZCALLBACK NoError(voidpf, voidpf) { return 0; }

std::string Zip(const std::vector<std::pair<std::string, std::string>>& entries, int level) {
  Archive archive;
  zlib_filefunc64_def functions{Open, ReadNothing, Write, Tell, Seek, Close, NoError, nullptr};
  zipFile zip = zipOpen2_64(&archive, APPEND_STATUS_CREATE, nullptr, &functions);
  FUZZ_CHECK(zip != nullptr);
  for (const auto& [name, bytes] : entries) {
    zip_fileinfo info{};
    FUZZ_CHECK(zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, level ? Z_DEFLATED : 0,
                                     level, 0) == ZIP_OK);
    FUZZ_CHECK(zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) == ZIP_OK);
    FUZZ_CHECK(zipCloseFileInZip(zip) == ZIP_OK);
  }
  FUZZ_CHECK(zipClose(zip, nullptr) == ZIP_OK);
  return archive.bytes;
}

std::vector<std::pair<std::string, std::string>> Workbook(std::string_view rows, std::string_view strings,
                                                          std::string_view styles) {
  const std::string main = R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
  const std::string types = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  return {
      {"[Content_Types].xml", "<Types/>"},
      {"xl/workbook.xml", "<workbook" + main + R"( xmlns:r=")" + types.substr(0, types.size() - 1) +
                              R"("><sheets><sheet name="S" sheetId="1" r:id="a"/></sheets></workbook>)"},
      {"xl/_rels/workbook.xml.rels",
       R"(<Relationships><Relationship Id="a" Type=")" + types + R"(worksheet" Target="worksheets/s.xml"/>)" +
           R"(<Relationship Id="b" Type=")" + types + R"(sharedStrings" Target="strings.xml"/>)" +
           R"(<Relationship Id="c" Type=")" + types + R"(styles" Target="styles.xml"/></Relationships>)"},
      {"xl/worksheets/s.xml", "<worksheet" + main + "><sheetData>" + std::string(rows) + "</sheetData></worksheet>"},
      {"xl/strings.xml", "<sst" + main + ">" + std::string(strings) + "</sst>"},
      {"xl/styles.xml", "<styleSheet" + main + ">" + std::string(styles) + "</styleSheet>"},
  };
}

bool HasControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

void CheckOutcome(const Outcome& outcome) {
  const TableRead& read = outcome.read.table;
  FUZZ_CHECK(static_cast<int>(read.firstSkipped.size()) == std::min(read.skippedLines, 3));
  for (std::size_t i = 0; i < read.firstSkipped.size(); ++i)
    FUZZ_CHECK(read.firstSkipped[i] >= 1 && read.firstSkipped[i] <= 1048576);
  for (std::size_t row = 0; row < outcome.cells.size(); row += kColumnCount) {
    const std::string& name = outcome.cells[row + kMachineNameColumn];
    const std::string& mac = outcome.cells[row + kMacColumn];
    FUZZ_CHECK(IsMacText(mac) && mac.size() == 17 && mac[2] == '-');
    FUZZ_CHECK(fuzz::Cp936Characters(name) != std::string_view::npos);
    FUZZ_CHECK(!HasControl(name));
  }
}

}  // namespace
}  // namespace venbrook

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.starts_with("PK")) {
    const Outcome outcome = Read(input);
    FUZZ_CHECK(Read(input) == outcome);
    CheckOutcome(outcome);
    return 0;
  }
  const std::vector<std::string_view> parts = fuzz::Parts(data, size, 3);
  const auto workbook = Workbook(parts[0], parts[1], parts[2]);
  const Outcome deflated = Read(Zip(workbook, 6));
  CheckOutcome(deflated);
  FUZZ_CHECK(Read(Zip(workbook, 0)) == deflated);
  return 0;
}
