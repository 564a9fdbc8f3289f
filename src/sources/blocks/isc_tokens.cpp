#include "sources/blocks/isc_tokens.h"

#include "sources/read_bounds.h"
#include "sources/text/text_lines.h"
#include "sources/text/text_words.h"

namespace venbrook {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool EndsWord(char c) { return IsSpace(c) || c == '{' || c == '}' || c == ';' || c == ',' || c == '"'; }
int OctalDigit(char c) { return c >= '0' && c <= '7' ? c - '0' : -1; }

}  // namespace

bool IscTokens::next(IscToken& token) {
  while (at_ < text_.size()) {
    const char c = text_[at_];
    if (c == '\n' || (c == '\r' && text_.substr(at_, 2) != "\r\n")) ++line_;
    if (IsSpace(c) || c == ',') {
      ++at_;
    } else if (c == '#') {
      while (at_ < text_.size() && text_[at_] != '\n' && text_[at_] != '\r') ++at_;
    } else {
      token.line = line_;
      token.text.clear();
      if (c == '"') return string(token);
      ++at_;
      token.kind = c == '{' ? IscToken::Open : c == '}' ? IscToken::Close : c == ';' ? IscToken::End : IscToken::Word;
      if (token.kind != IscToken::Word) return true;
      const std::size_t start = at_ - 1;
      while (at_ < text_.size() && !EndsWord(text_[at_])) ++at_;
      if (at_ - start > kMaxRecordBytes) {
        tooLong_ = true;
        return false;
      }
      token.text.assign(text_.substr(start, at_ - start));
      return true;
    }
  }
  return false;
}

// A string to its closing quote (or the end of the text); escapes give the
// byte they name, a line break inside is a blank.
bool IscTokens::string(IscToken& token) {
  token.kind = IscToken::String;
  bool escaped = false;
  for (++at_; at_ < text_.size() && text_[at_] != '"'; ++at_) {
    if (token.text.size() >= kMaxRecordBytes) {
      tooLong_ = true;
      return false;
    }
    char c = text_[at_];
    if (c == '\n' || (c == '\r' && text_.substr(at_, 2) != "\r\n")) ++line_;
    if (c == '\\' && at_ + 1 < text_.size()) {
      c = text_[++at_];
      if (c == '\n') ++line_;
      int value = OctalDigit(c);
      if (value >= 0) {
        for (int more = 0; more < 2 && at_ + 1 < text_.size() && OctalDigit(text_[at_ + 1]) >= 0; ++more)
          value = value * 8 + OctalDigit(text_[++at_]);
        c = static_cast<char>(value & 0xFF);
        escaped = true;
      } else if (c == 't' || c == 'n' || c == 'r' || c == 'b') {
        c = ' ';
      }
    }
    if (c == '\r' || c == '\n') c = ' ';
    token.text += c;
  }
  ++at_;
  if (escaped) token.text = EscapedBytesText(token.text);
  return true;
}

std::string HardwareAddress(std::string_view text) {
  std::string padded;
  std::size_t groups = 0, start = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at < text.size() && text[at] != ':') continue;
    const std::size_t length = at - start;
    if (length == 0 || length > 2) return std::string(text);
    if (length == 1) padded += '0';
    padded.append(text.substr(start, length));
    if (at < text.size()) padded += ':';
    start = at + 1;
    ++groups;
  }
  return groups == 6 ? padded : std::string(text);
}

}  // namespace venbrook
