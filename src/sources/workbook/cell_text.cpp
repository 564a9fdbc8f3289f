#include "sources/workbook/cell_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/utf16.h"

namespace venbrook {
namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The days since 1970-01-01 as a civil date (Howard Hinnant's days_from_civil, inverted).
void CivilDate(long long days, int& year, int& month, int& day) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthPart = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthPart + 2) / 5 + 1);
  month = static_cast<int>(monthPart < 10 ? monthPart + 3 : monthPart - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// Days from 1970-01-01 to the day before each system's day 1.
constexpr long long kDay0Of1900 = -25568;  // 1899-12-31
constexpr long long kDay0Of1904 = -24107;  // 1904-01-01 is day 0
constexpr double kLastSerial1900 = 2958465;  // 9999-12-31

}  // namespace

bool IsBuiltInDateFormat(int id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

bool IsDateFormatCode(std::string_view code) {
  for (std::size_t at = 0; at < code.size(); ++at) {
    switch (code[at]) {
      case '"': {
        const std::size_t close = code.find('"', at + 1);
        if (close == std::string_view::npos) return false;
        at = close;
        break;
      }
      case '[': {
        const std::size_t close = code.find(']', at + 1);
        if (close == std::string_view::npos) return false;
        at = close;
        break;
      }
      case '\\':
      case '_':
      case '*': ++at; break;  // the next character is shown, or is padding
      case 'd': case 'D': case 'm': case 'M': case 'y': case 'Y':
      case 'h': case 'H': case 's': case 'S': return true;
      default: break;
    }
  }
  return false;
}

std::string SerialDateText(std::string_view value, bool system1904) {
  double serial = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), serial);
  if (error != std::errc() || end != value.data() + value.size() || !std::isfinite(serial)) return {};
  if (serial < 0 || serial > kLastSerial1900 - (system1904 ? 1462 : 0)) return {};
  long long days = static_cast<long long>(std::floor(serial));
  long long seconds = std::llround((serial - static_cast<double>(days)) * 86400.0);
  if (seconds == 86400) ++days, seconds = 0;
  int year = 1900, month = 2, day = 29;  // Excel's day 60, which the calendar never had
  if (system1904) {
    CivilDate(kDay0Of1904 + days, year, month, day);
  } else if (days != 60) {
    CivilDate(kDay0Of1900 + days - (days > 60 ? 1 : 0), year, month, day);
  }
  char text[32];
  const int hours = static_cast<int>(seconds / 3600), minutes = static_cast<int>(seconds / 60 % 60);
  const int secs = static_cast<int>(seconds % 60);
  if (seconds == 0)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  else if (secs == 0)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", year, month, day, hours, minutes);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hours, minutes, secs);
  return text;
}

void CleanCellText(std::string& text) {
  std::string clean;
  bool changed = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '_' && at + 6 < text.size() && text[at + 1] == 'x' && text[at + 6] == '_' && IsHexDigit(text[at + 2]) &&
        IsHexDigit(text[at + 3]) && IsHexDigit(text[at + 4]) && IsHexDigit(text[at + 5])) {
      unsigned unit = 0;
      std::from_chars(text.data() + at + 2, text.data() + at + 6, unit, 16);
      // A lone surrogate has no character: it stays as written.
      if (unit < 0xD800 || unit > 0xDFFF) {
        if (!changed) clean.assign(text, 0, at), changed = true;
        if (unit < 0x20 || unit == 0x7F)
          clean += ' ';
        else
          AppendUtf8(unit, clean);
        at += 6;
        continue;
      }
    }
    const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    if (control && !changed) clean.assign(text, 0, at), changed = true;
    if (changed) clean += control ? ' ' : c;
  }
  if (changed) text.swap(clean);
}

}  // namespace venbrook
