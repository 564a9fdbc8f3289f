#include "model/rename_rule.h"

#include "model/gbk_text.h"

namespace venbrook {
namespace {

void AppendReplaced(std::string_view text, std::string_view find, std::string_view replacement,
                    std::string& out) {
  if (text.empty() || find.empty()) {
    out.append(text);
    return;
  }
  std::size_t at = 0;
  while (text.size() - at >= find.size()) {
    if (EqualIgnoringAsciiCase(find, text.substr(at, find.size()))) {
      out.append(replacement);
      at += find.size();
    } else {
      const std::size_t length = CharacterLength(text, at);
      out.append(text.substr(at, length));
      at += length;
    }
  }
  out.append(text.substr(at));
}

}  // namespace

std::string replaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  std::string out;
  AppendReplaced(text, find, replacement, out);
  return out;
}

std::string RenameRule::newName(std::string_view machineName) const {
  std::string out;
  newNameInto(machineName, out);
  return out;
}

void RenameRule::newNameInto(std::string_view machineName, std::string& out) const {
  out.assign(prefix);
  AppendReplaced(machineName, find, replacement, out);
}

}  // namespace venbrook
