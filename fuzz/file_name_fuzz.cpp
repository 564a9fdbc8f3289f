// Fuzz target: the backslash scan of paths (LastBackslash, FileNameOf,
// FolderOf, EndsWithBackslash), the product chosen by a path's file name and
// the program folder.
// Input: a path, as GBK bytes.
// Properties checked on every input:
//   - the last backslash found is the last one that is a character of its
//     own, never the trail byte of a double-byte character;
//   - folder, one backslash and file name give the path back;
//   - a product is chosen exactly when the file name is its file name;
//   - a product's file name put after the path and one backslash is found
//     unless the path ends in half a double-byte character, whose trail byte
//     that backslash then is.
#include "commands/database_location.h"
#include "fuzz/fuzz_check.h"
#include "model/file_name.h"
#include "sources/source_kind.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  using namespace venbrook;
  const std::string_view path(reinterpret_cast<const char*>(data), size);

  std::size_t expected = std::string_view::npos;
  std::size_t at = 0;
  bool endsInHalf = false;
  for (const std::string_view character : fuzz::Characters(path)) {
    if (character == "\\") expected = at;
    endsInHalf = character.size() == 1 && static_cast<unsigned char>(character[0]) >= 0x80;
    at += character.size();
  }
  const std::size_t last = LastBackslash(path);
  FUZZ_CHECK(last == expected);

  const std::string_view fileName = FileNameOf(path);
  const std::string_view folder = FolderOf(path);
  if (last == std::string_view::npos) {
    FUZZ_CHECK(fileName.empty() && folder == path && !EndsWithBackslash(path));
  } else {
    FUZZ_CHECK(std::string(folder) + "\\" + std::string(fileName) == path);
    FUZZ_CHECK(LastBackslash(fileName) == std::string_view::npos);
    FUZZ_CHECK(EndsWithBackslash(path) == fileName.empty());
  }
  FUZZ_CHECK(ProgramDirectoryOf(path) == folder);

  const SourceProfile* profile = ProfileForPath(path);
  FUZZ_CHECK((profile != nullptr) == (fileName == "lwdiskless.db" || fileName == "barserver.db"));
  if (profile != nullptr) FUZZ_CHECK(profile->fileName == fileName);

  const std::string withName = std::string(path) + "\\barserver.db";
  const SourceProfile* chosen = ProfileForPath(withName);
  FUZZ_CHECK((chosen != nullptr) == !endsInHalf);
  if (chosen != nullptr) FUZZ_CHECK(chosen->kind == SourceKind::Wangweidashi && FolderOf(withName) == path);
  return 0;
}
