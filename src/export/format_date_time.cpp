#include "export/format_date_time.h"

#include <cmath>

namespace venbrook {
namespace {

constexpr double kFirstDay = -657434.0;  // 0100-01-01
constexpr double kLastDay = 2958466.0;   // 10000-01-01, exclusive
// Days from 0000-03-01, where the era arithmetic below starts, to 1899-12-30.
constexpr long long kEpochShift = 693899;

// Day counts from 1899-12-30 to civil dates and back (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - kEpochShift;
}

void CivilFromDays(long long days, int& year, int& month, int& day) {
  const long long z = days + kEpochShift;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

void AppendNumber(std::string& out, int value, int minimumDigits) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < minimumDigits) out.append(minimumDigits - digits.size(), '0');
  out += digits;
}

void ExpandPicture(std::string_view picture, const CalendarTime& t, bool force24Hour, std::string& out) {
  for (std::size_t at = 0; at < picture.size();) {
    const char element = picture[at];
    if (element == '\'') {
      const std::size_t close = picture.find('\'', at + 1);
      const std::size_t end = close == std::string_view::npos ? picture.size() : close;
      out.append(picture.substr(at + 1, end - at - 1));
      if (close != std::string_view::npos && close == at + 1) out += '\'';  // '' is a quote
      at = end == picture.size() ? end : end + 1;
      continue;
    }
    std::size_t run = 1;
    while (at + run < picture.size() && picture[at + run] == element) ++run;
    const int width = static_cast<int>(run);
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    switch (element) {
      case 'y':
        if (width == 1) AppendNumber(out, t.year % 100, 1);
        else if (width == 2) AppendNumber(out, t.year % 100, 2);
        else AppendNumber(out, t.year, 4);
        break;
      case 'M': AppendNumber(out, t.month, width >= 2 ? 2 : 1); break;
      case 'd': AppendNumber(out, t.day, width >= 2 ? 2 : 1); break;
      case 'h': AppendNumber(out, force24Hour ? t.hour : hour12, width >= 2 ? 2 : 1); break;
      case 'H': AppendNumber(out, t.hour, width >= 2 ? 2 : 1); break;
      case 'm': AppendNumber(out, t.minute, width >= 2 ? 2 : 1); break;
      case 's': AppendNumber(out, t.second, width >= 2 ? 2 : 1); break;
      case 't':
        if (!force24Hour) out.append(t.hour < 12 ? "AM" : "PM", width >= 2 ? 2 : 1);
        break;
      default: out.append(picture.substr(at, run)); break;
    }
    at += run;
  }
}

}  // namespace

std::optional<CalendarTime> AutomationDateToCalendar(double time) {
  if (!std::isfinite(time) || time < kFirstDay || time >= kLastDay) return std::nullopt;
  // Before the epoch the fraction still counts forward from midnight: -1.25 is
  // 1899-12-29 06:00.
  double wholeDays = std::trunc(time);
  double fraction = std::fabs(time - wholeDays);
  long long seconds = std::llround(fraction * 86400.0);
  long long days = static_cast<long long>(wholeDays);
  if (seconds >= 86400) {
    seconds -= 86400;
    days += time < 0 ? -1 : 1;
  }
  CalendarTime t{};
  CivilFromDays(days, t.year, t.month, t.day);
  if (t.year > 9999) return std::nullopt;
  t.dayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7);  // 1899-12-30 was a Saturday
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  return t;
}

double CalendarToAutomationDate(int year, int month, int day, int hour, int minute, int second) {
  const double days = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)));
  const double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
  return days >= 0 ? days + fraction : days - fraction;
}

std::string FormatDateTime(double time, std::string_view datePicture, std::string_view timePicture,
                           bool force24Hour, int /*locale*/) {
  const std::optional<CalendarTime> fields = AutomationDateToCalendar(time);
  if (!fields) return {};
  std::string text;
  ExpandPicture(datePicture, *fields, false, text);
  ExpandPicture(timePicture, *fields, force24Hour, text);
  return text;
}

}  // namespace venbrook
