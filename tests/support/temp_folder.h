#pragma once
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/path.h"

namespace venbrook {

// How a test's message shows a Path: its UTF-8 in quotes.
inline void PrintTo(const Path& path, std::ostream* out) { *out << '"' << path.utf8() << '"'; }

}  // namespace venbrook

namespace venbrook::test {

// A path in GBK, with '\' between folders: the form in which tests write
// paths and compare what the window shows.
std::string CorePath(const std::filesystem::path& path);

// The core's Path of a path, exact whatever characters it holds.
Path PathOf(const std::filesystem::path& path);

// A fresh empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& child) const { return path_ / child; }
  std::string core() const { return CorePath(path_); }

 private:
  std::filesystem::path path_;
};

// Whole-file access for checking what the core wrote; nullopt when the file
// cannot be read.
std::optional<std::string> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// The bytes of a UTF-16 file with its byte-order mark: little-endian, as
// Notepad saves "Unicode", or big-endian.
std::string Utf16File(std::u16string_view text, bool bigEndian = false);

// A child given by its UTF-8 name (u8"籠"), on every platform.
inline std::filesystem::path Utf8Name(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace venbrook::test
