#include "model/file_name.h"

#include "model/gbk_text.h"

namespace venbrook {

std::size_t LastBackslash(std::string_view path) {
  std::size_t last = std::string_view::npos;
  for (std::size_t at = 0; at < path.size();) {
    const std::size_t length = CharacterLength(path, at);
    if (length == 1 && path[at] == '\\') last = at;
    at += length;
  }
  return last;
}

std::string_view FileNameOf(std::string_view path) {
  const std::size_t last = LastBackslash(path);
  return last == std::string_view::npos ? std::string_view{} : path.substr(last + 1);
}

std::string_view FolderOf(std::string_view path) {
  const std::size_t last = LastBackslash(path);
  return last == std::string_view::npos ? path : path.substr(0, last);
}

bool EndsWithBackslash(std::string_view path) {
  const std::size_t last = LastBackslash(path);
  return last != std::string_view::npos && last + 1 == path.size();
}

}  // namespace venbrook
