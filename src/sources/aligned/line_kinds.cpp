#include "sources/aligned/line_kinds.h"

#include <algorithm>

#include "model/mac_address.h"
#include "sources/columns/machine_words.h"

namespace venbrook {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

// An IPv4 address, alone or with its prefix length (192.168.1.0/24).
bool IsIpv4Word(std::string_view word) {
  const std::size_t slash = word.find('/');
  return IsIpv4Address(slash == std::string_view::npos ? word : word.substr(0, slash));
}

bool IsKeyWord(std::string_view word) {
  return word.ends_with(':') || word.ends_with("\xEF\xBC\x9A") /* '：' */ || word == "=" ||
         word.find_first_of(",;=") != std::string_view::npos;
}

}  // namespace

bool LooksLikeMac(std::string_view word) { return ParseMac(word).valid() || ParseClientId(word).valid(); }

bool HoldsMac(std::string_view line, const std::vector<Word>& words) {
  return std::any_of(words.begin(), words.end(), [&](const Word& w) { return LooksLikeMac(WordText(line, w)); });
}

bool IsRule(std::string_view line, const std::vector<Word>& words) {
  if (words.empty() || std::string_view("-=+").find(line[words.front().begin]) == std::string_view::npos) return false;
  bool long_ = false;
  for (const Word& word : words) {
    const std::string_view text = WordText(line, word);
    if (text.find_first_not_of("-=+") != std::string_view::npos) return false;
    long_ |= text.size() >= 3;
  }
  return long_;
}

bool IsPrompt(std::string_view line, const std::vector<Word>& words) {
  if (words.empty()) return false;
  const std::string_view text = line.substr(words.front().begin, words.back().end - words.front().begin);
  const std::string_view first = WordText(line, words.front());
  if (text.starts_with('[')) {
    const std::size_t close = text.find(']');
    return text.find("> ") != std::string_view::npos || text.ends_with('>') ||
           (close != std::string_view::npos && (close + 1 == text.size() || text[close + 1] != ' '));
  }
  if (text.starts_with('<')) {
    const std::size_t close = first.find('>');
    return close != std::string_view::npos && close > 1;
  }
  if (first == "PS" && words.size() > 1) return WordText(line, words[1]).find('>') != std::string_view::npos;
  for (std::size_t at = 1; at < first.size(); ++at)
    if (first[at] == '#' || first[at] == '>') return true;
  return false;
}

bool IsTotals(std::string_view line, const std::vector<Word>& words) {
  if (words.empty()) return false;
  const std::string_view first = WordText(line, words.front());
  const auto lower = [](char c) { return IsCapital(c) ? static_cast<char>(c - 'A' + 'a') : c; };
  if (first.size() >= 5 && std::equal(first.begin(), first.begin() + 5, "total", [&](char a, char b) { return lower(a) == b; }))
    return true;
  if (static_cast<unsigned char>(first.front()) < 0x80) return false;
  for (const std::string_view count : {"共计", "共有", "总计", "总数", "合计"})
    if (first.starts_with(count)) return true;
  return first == "共";
}

bool IsHeadingLike(std::string_view line, const std::vector<Word>& words) {
  if (words.empty() || IsRule(line, words) || IsPrompt(line, words)) return false;
  bool letter = false;
  for (const Word& word : words) {
    const std::string_view text = WordText(line, word);
    if (IsKeyWord(text) || IsIpv4Word(text) || LooksLikeMac(text)) return false;
    letter |= std::any_of(text.begin(), text.end(), [](char c) { return IsAsciiLetter(c) || static_cast<unsigned char>(c) >= 0x80; });
  }
  return letter;
}

bool IsWindowsInterface(std::string_view line, const std::vector<Word>& words) {
  const std::size_t n = words.size();
  if (n < 4) return false;
  const std::string_view label = WordText(line, words[n - 4]);
  return WordText(line, words[n - 2]) == "---" && WordText(line, words[n - 1]).starts_with("0x") &&
         IsIpv4Address(WordText(line, words[n - 3])) && (label.ends_with(':') || label.ends_with("\xEF\xBC\x9A"));
}

bool IsRouterOsComment(std::string_view line, const std::vector<Word>& words, std::string_view& comment) {
  std::size_t i = 0;
  if (i < words.size() && IsAllDigits(WordText(line, words[i]))) ++i;
  while (i < words.size()) {
    const std::string_view flags = WordText(line, words[i]);
    if (flags.size() > 3 || !std::all_of(flags.begin(), flags.end(), IsCapital)) break;
    ++i;
  }
  if (i >= words.size() || !WordText(line, words[i]).starts_with(";;;")) return false;
  comment = TrimBlanks(line.substr(words[i].begin + 3, words.back().end - words[i].begin - 3));
  return true;
}

}  // namespace venbrook
