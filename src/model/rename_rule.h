#pragma once
#include <string>
#include <string_view>

namespace venbrook {

// Every occurrence of `find` in `text` replaced by `replacement`, left to
// right, without overlaps; letters match in either case, a match starts only
// on a character boundary, and the inserted text is never searched again.
std::string replaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// How a machine gets its new name: the find text replaced everywhere, then
// the prefix put in front.
struct RenameRule {
  std::string prefix;
  std::string find;
  std::string replacement;

  std::string newName(std::string_view machineName) const;
  void newNameInto(std::string_view machineName, std::string& out) const;
};

}  // namespace venbrook
