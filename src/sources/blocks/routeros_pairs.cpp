#include "sources/blocks/routeros_pairs.h"

#include "model/blanks.h"
#include "sources/columns/machine_words.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {
namespace {

bool IsKeyCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool RouterOsPairs::keyStartsAt(std::size_t at) const {
  const std::size_t start = at;
  while (at < text_.size() && IsKeyCharacter(text_[at])) ++at;
  return at > start && at < text_.size() && text_[at] == '=';
}

bool RouterOsPairs::next(std::string_view& key, std::string& value) {
  while (at_ < text_.size()) {
    if (IsBlank(text_[at_])) {
      ++at_;
      continue;
    }
    if (keyStartsAt(at_)) {
      const std::size_t start = at_;
      at_ = text_.find('=', at_);
      key = text_.substr(start, at_ - start);
      ++at_;
      readValue(value);
      return true;
    }
    while (at_ < text_.size() && !IsBlank(text_[at_])) ++at_;  // a word that is no pair
  }
  return false;
}

void RouterOsPairs::readValue(std::string& value) {
  value.clear();
  bool escapedBytes = false;
  const bool quoted = at_ < text_.size() && text_[at_] == '"';
  if (quoted) ++at_;
  for (; at_ < text_.size(); ++at_) {
    char c = text_[at_];
    if (quoted && c == '"') {
      ++at_;
      break;
    }
    if (!quoted && IsBlank(c)) {
      if (values_ == RouterOsValues::EndAtBlank) break;
      // The run of blanks, looked past once: the value goes on unless a key
      // or the end follows it.
      std::size_t next = at_;
      while (next < text_.size() && IsBlank(text_[next])) ++next;
      if (next == text_.size() || keyStartsAt(next)) break;
      value.append(text_.substr(at_, next - at_ - 1));
      at_ = next - 1;
      c = text_[at_];
    }
    if (c == '\\' && at_ + 1 < text_.size()) {
      c = text_[++at_];
      if (at_ + 1 < text_.size() && HexValue(c) >= 0 && HexValue(text_[at_ + 1]) >= 0) {
        c = static_cast<char>(HexValue(c) * 16 + HexValue(text_[++at_]));
        escapedBytes = true;
      } else if (c == '_' || c == 'n' || c == 'r' || c == 't' || c == 'a' || c == 'b' || c == 'f' || c == 'v') {
        c = ' ';
      }
    }
    value += c;
  }
  if (escapedBytes) value = EscapedBytesText(value);
}

LayoutEnd AddRouterOsPairs(std::string_view text, RouterOsValues values, bool leaseNames, std::string_view comment,
                           KeyedColumns& columns, RecordCells& cells) {
  RouterOsPairs pairs(text, values);
  std::string_view key;
  std::string value, commentValue(TrimBlanks(comment)), hostName;
  const auto add = [&](std::string_view name, std::string_view cell) {
    const int column = BoundedColumnOf(columns, name);
    if (column < 0) return LayoutEnd::Past(Bound::RecordCells);
    if (!cells.add(column, cell)) return LayoutEnd::Past(Bound::RecordBytes);
    return LayoutEnd{};
  };
  while (pairs.next(key, value)) {
    if (leaseNames && key == "comment") {
      if (commentValue.empty()) commentValue = value;
      continue;
    }
    if (leaseNames && key == "host-name") {
      hostName = value;
      continue;
    }
    if (const LayoutEnd end = add(key, value); end.how != LayoutEnd::How::Done) return end;
  }
  if (!leaseNames && !commentValue.empty()) return add("comment", commentValue);
  if (leaseNames && !(commentValue.empty() && hostName.empty()))
    return add(kLeaseNameColumn, commentValue.empty() ? hostName : commentValue);
  return {};
}

}  // namespace venbrook
