#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace venbrook::test {

// The core's form of a path: GBK, with '\' between folders.
std::string CorePath(const std::filesystem::path& path);

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

// A child given by its UTF-8 name (u8"籠"), on every platform.
inline std::filesystem::path Utf8Name(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace venbrook::test
