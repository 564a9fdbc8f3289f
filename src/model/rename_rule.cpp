#include "model/rename_rule.h"

#include "model/gbk_text.h"

namespace venbrook {
namespace {

// Text between matches is copied a run at a time, and a full comparison is
// made only where the first byte already matches (a match's first byte is
// never a trail byte, so comparing it alone ignoring ASCII case is exact).
void AppendReplaced(std::string_view text, std::string_view find, std::string_view replacement,
                    std::string& out) {
  if (text.empty() || find.empty()) {
    out.append(text);
    return;
  }
  const char first = AsciiUpper(find[0]);
  std::size_t copied = 0;  // text before this is in `out`
  std::size_t at = 0;
  while (text.size() - at >= find.size()) {
    if (AsciiUpper(text[at]) == first && EqualIgnoringAsciiCase(find, text.substr(at, find.size()))) {
      out.append(text.data() + copied, at - copied);
      out.append(replacement);
      at += find.size();
      copied = at;
    } else {
      at += CharacterLength(text, at);
    }
  }
  out.append(text.data() + copied, text.size() - copied);
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
