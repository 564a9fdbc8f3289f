#include "sources/structured/record_hints.h"

#include <array>

#include "model/mac_address.h"

namespace venbrook {
namespace {

// Shorter than 0:0:0:0:0:0 or longer than a client identifier's seven
// pairs with blanks around them, a value is no MAC: most values are passed
// over without parsing.
constexpr std::size_t kShortestMac = 11;
constexpr std::size_t kLongestMac = 24;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsWord(std::string_view text, std::string_view lowerWord) {
  if (text.size() < lowerWord.size()) return false;
  for (std::size_t at = 0; at + lowerWord.size() <= text.size(); ++at) {
    std::size_t matched = 0;
    while (matched < lowerWord.size() && Lower(text[at + matched]) == lowerWord[matched]) ++matched;
    if (matched == lowerWord.size()) return true;
  }
  return false;
}

// expires, LeaseExpiryTime, last_seen, first-seen, starttime, uptime, cltt,
// valid-lft: the words leases, scans and client lists write their times
// in; state: a lease's or a neighbour's.
constexpr std::array<std::string_view, 6> kSightingWords = {"expir", "time", "seen", "cltt", "lft", "state"};

}  // namespace

bool ReadsAsMac(std::string_view value) {
  return value.size() >= kShortestMac && value.size() <= kLongestMac &&
         (ParseMac(value).valid() || ParseClientId(value).valid());
}

bool NamesASighting(std::string_view key) {
  for (const std::string_view word : kSightingWords)
    if (ContainsWord(key, word)) return true;
  return false;
}

bool NamesLeases(std::string_view name) { return ContainsWord(name, "lease"); }

}  // namespace venbrook
