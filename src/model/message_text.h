#pragma once
// Words the window shows that may name a file: a message box's, the source
// label's. The words are GBK, like every text of the core; the file's path
// (or name) among them is a Path, shown exactly as the file system names
// it, whatever its characters.
#include <string>
#include <utility>

#include "platform/path.h"

namespace venbrook {

struct MessageText {
  explicit MessageText(std::string words = {}, Path file = {}, std::string wordsAfter = {})
      : words(std::move(words)), file(std::move(file)), wordsAfter(std::move(wordsAfter)) {}

  bool empty() const { return words.empty() && file.empty() && wordsAfter.empty(); }

  std::string words;       // before the file
  Path file;               // empty for none
  std::string wordsAfter;  // after the file
};

}  // namespace venbrook
