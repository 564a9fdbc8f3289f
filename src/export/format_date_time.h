#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace venbrook {

struct CalendarTime {
  int year, month, dayOfWeek, day, hour, minute, second;
};

// Calendar fields of an automation date (days since 30 December 1899, time of
// day as the fraction), rounded to the second; none outside the years 100 to
// 9999.
std::optional<CalendarTime> AutomationDateToCalendar(double time);
double CalendarToAutomationDate(int year, int month, int day, int hour, int minute, int second);

// The date picture expanded, then the time picture, with nothing between;
// the empty text when the time has no calendar form. Pictures use the
// elements y, M, d, h, H, m, s, t (repeated for wider forms) and '...'
// quoted literals. The locale only chooses the calendar, which is always
// the Gregorian one here.
std::string FormatDateTime(double time, std::string_view datePicture, std::string_view timePicture,
                           bool force24Hour, int locale = 0);

}  // namespace venbrook
