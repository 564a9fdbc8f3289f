#pragma once
// A path in the file system, as the core holds it: UTF-8 with '\' between
// folders (a path typed or pasted with '/' keeps it: Windows takes both). A path is not a text of the window: whatever characters its
// names hold, it goes from the system to the file call without passing
// through GBK. Windows takes it as UTF-16 at every call; the native build
// turns '\' into '/'.
//
// The file-name helpers below scan UTF-8, in which no byte of a character
// of several bytes is '\' or '/': every 0x5C and 0x2F is a separator. (GBK texts have their
// own scanning rules, model/gbk_text.h; they never run over a path.)
#include <optional>
#include <string>
#include <string_view>

namespace venbrook {

class Path {
 public:
  Path() = default;  // the empty path
  static Path FromUtf8(std::string_view utf8);
  static Path FromUtf16(std::u16string_view utf16);
  // A GBK text taken as a path: a config.ini value, a name typed in tests.
  static Path FromGbk(std::string_view gbk);

  const std::string& utf8() const { return utf8_; }
  std::u16string utf16() const;
  // The path's GBK bytes, when GBK can write every character of it.
  std::optional<std::string> gbk() const;
  // The same for showing among GBK texts: a character GBK lacks is '?'.
  std::string gbkShown() const;

  bool empty() const { return utf8_.empty(); }
  bool endsWithBackslash() const { return !utf8_.empty() && utf8_.back() == '\\'; }
  // The part after the last separator, '\' or '/'; empty when there is none.
  std::string_view fileName() const;
  // The part before the last separator; the whole path when there is none.
  Path folder() const;
  // The part after the last backslash alone; empty when there is none. For
  // a test of a name that must be spelt exactly as Windows writes paths,
  // where "C:/x/name" is not that name.
  std::string_view nameAfterLastBackslash() const;
  // The path ending in one backslash: itself when it already does.
  Path asFolder() const;
  // `name` inside this folder, one backslash between ("\name" for the
  // empty path).
  Path child(std::string_view utf8Name) const;
  // The path with `utf8Suffix` added to its last name: "x.db" -> "x.db-wal".
  Path withSuffix(std::string_view utf8Suffix) const;

  friend bool operator==(const Path&, const Path&) = default;

 private:
  explicit Path(std::string utf8) : utf8_(std::move(utf8)) {}
  std::string utf8_;
};

}  // namespace venbrook
