#include "sources/machine_source.h"

#include <iterator>
#include <optional>

#include "model/text_codec.h"
#include "platform/os.h"
#include "sources/database_by_content.h"
#include "sources/product_database.h"
#include "sources/source_kind.h"
#include "sources/text_list_file.h"

namespace venbrook {
namespace {

// Every SQLite database file begins with these 16 bytes.
constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};

bool IsSqliteDatabase(std::string_view firstBytes) {
  return firstBytes.substr(0, kSqliteHeader.size()) == kSqliteHeader;
}
bool IsAnythingElse(std::string_view firstBytes) { return !IsSqliteDatabase(firstBytes); }

template <std::size_t kProfile>
bool IsProductsFileName(std::string_view fileName) {
  return fileName == kSourceProfiles[kProfile].fileName;
}

template <std::size_t kProfile>
ReadResult ReadProductsFile(const ReadRequest& request) {
  return ReadProductFile(kSourceProfiles[kProfile], request);
}

constexpr SourceReader kAnyFile{"所有文件", "*.*", nullptr, nullptr, nullptr};

}  // namespace

const SourceReader kSourceReaders[] = {
    {"所有数据库", "*.db", nullptr, IsSqliteDatabase, ReadDatabaseByContent},
    {kSourceProfiles[0].productUtf8, kSourceProfiles[0].fileName, IsProductsFileName<0>, nullptr, ReadProductsFile<0>},
    {kSourceProfiles[1].productUtf8, kSourceProfiles[1].fileName, IsProductsFileName<1>, nullptr, ReadProductsFile<1>},
    {"机器列表文本", "*.txt;*.csv", nullptr, IsAnythingElse, ReadTextListFile},
};
static_assert(std::size(kSourceProfiles) == 2, "each product has its entry in kSourceReaders");

ReadResult ReadMachines(SourceConnection& connection, const Path& path, const RenameRule& rule,
                        MachineList& list) {
  const ReadRequest request{path, path.fileName(), rule, list, connection};
  for (const SourceReader& reader : kSourceReaders)
    if (reader.claimsName != nullptr && reader.claimsName(request.fileName)) return reader.read(request);

  // Everything else goes by content. The path box loads on every keystroke,
  // so a path that names no file yet must cost a look and change nothing.
  constexpr std::size_t kSampleBytes = kSqliteHeader.size();
  const std::optional<os::FileStart> start = os::ReadFileStart(path, kSampleBytes);
  if (!start) return {LoadOutcome::Ignored};
  for (const SourceReader& reader : kSourceReaders)
    if (reader.claimsContent != nullptr && reader.claimsContent(start->bytes)) return reader.read(request);
  return {LoadOutcome::Ignored};
}

std::string SourceFilter() {
  std::string filter;
  const auto addPair = [&filter](const SourceReader& reader) {
    if (!filter.empty()) filter += '|';
    filter += std::string(reader.kindUtf8) + "(" + std::string(reader.pattern) + ")|" + std::string(reader.pattern);
  };
  for (const SourceReader& reader : kSourceReaders) addPair(reader);
  addPair(kAnyFile);
  return Gbk(filter);
}

}  // namespace venbrook
