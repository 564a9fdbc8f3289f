#include "sources/machine_source.h"

#include <iterator>
#include <optional>

#include "model/text_codec.h"
#include "platform/os.h"
#include "sources/products.h"
#include "sources/sqlite/database_by_content.h"
#include "sources/sqlite/product_database.h"
#include "sources/text/text_file.h"
#include "sources/workbook/workbook_file.h"

namespace venbrook {
namespace {

// Every SQLite database file begins with these 16 bytes.
constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

bool IsSqliteDatabase(std::string_view firstBytes) { return firstBytes.starts_with(kSqliteHeader); }

constexpr DialogFilter kDialogFilters[] = {
    {"所有数据库", "*.db"},
    {kSourceProfiles[0].productUtf8, kSourceProfiles[0].fileName},
    {kSourceProfiles[1].productUtf8, kSourceProfiles[1].fileName},
    {"机器列表文本", "*.txt;*.csv"},
    {"Excel 工作簿", "*.xlsx"},
    {"所有文件", "*.*"},
};
static_assert(std::size(kSourceProfiles) == 2, "each product has its pair in kDialogFilters");

}  // namespace

const ContentReader kContentReaders[] = {
    {"workbook", IsZipArchive, ReadWorkbookFile},
    {"old binary workbook", IsCompoundFile, RefuseOldWorkbook},
};
const ContentReader kFallbackReader{"text of any layout", nullptr, ReadTextFile};

ReadResult ReadMachines(SourceConnection& connection, const Path& path, const RenameRule& rule,
                        MachineList& list) {
  const ReadRequest request{path, path.fileName(), rule, list};
  // A product's own file is taken by name only as Windows writes its path,
  // after a backslash: the name then means that product's file and nothing
  // else. Any other spelling, "C:/x/lwdiskless.db" too, goes by content,
  // which reads the same file and says in the label what it found.
  if (const SourceProfile* product = ProductNamed(path.nameAfterLastBackslash()))
    return ReadProductFile(*product, request, connection);

  // Everything else goes by content. The path box loads on every keystroke,
  // so a path that names no file yet must cost a look and change nothing.
  const std::optional<os::FileStart> start = os::ReadFileStart(path, kSampleBytes);
  if (!start) return {LoadOutcome::Ignored};
  // Only a database is read through the connection; the rows of any other
  // file no longer come from the database it holds.
  if (IsSqliteDatabase(start->bytes)) return ReadDatabaseByContent(request, connection);
  connection.close();
  for (const ContentReader& reader : kContentReaders)
    if (reader.claims(start->bytes)) return reader.read(request);
  return kFallbackReader.read(request);
}

std::string SourceFilter() {
  std::string filter;
  for (const DialogFilter& pair : kDialogFilters) {
    if (!filter.empty()) filter += '|';
    filter += std::string(pair.kindUtf8) + "(" + std::string(pair.pattern) + ")|" + std::string(pair.pattern);
  }
  return Gbk(filter);
}

}  // namespace venbrook
