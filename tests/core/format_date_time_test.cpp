#include "export/format_date_time.h"

#include <gtest/gtest.h>

#include <limits>

namespace venbrook {
namespace {

TEST(FormatDateTime, ExportStamp) {
  const struct {
    double time;
    const char* stamp;
  } cases[] = {
      {CalendarToAutomationDate(2025, 7, 6, 9, 5, 3), "202576090503"},
      {CalendarToAutomationDate(2025, 7, 6, 21, 5, 3), "202576210503"},  // 24-hour clock forced
      {CalendarToAutomationDate(2025, 12, 16, 21, 45, 9), "20251216214509"},
      {CalendarToAutomationDate(2025, 1, 12, 10, 0, 0), "2025112100000"},  // these two dates
      {CalendarToAutomationDate(2025, 11, 2, 10, 0, 0), "2025112100000"},  // share one name
      {CalendarToAutomationDate(2024, 2, 29, 0, 0, 0), "2024229000000"},
      {CalendarToAutomationDate(2000, 3, 1, 23, 59, 59), "200031235959"},
      {45844.0 + 32703.0 / 86400.0, "202576090503"},  // 2025-07-06 09:05:03 as the number itself
      {0.0, "18991230000000"},
      {-1.25, "18991229060000"},  // before 1899-12-30 the fraction still counts from midnight
      {CalendarToAutomationDate(9999, 12, 31, 23, 59, 59), "99991231235959"},
      {CalendarToAutomationDate(100, 1, 1, 0, 0, 0), "010011000000"},
      {-657435.0, ""},  // before the year 100
      {2958466.0, ""},  // the year 10000
      {std::numeric_limits<double>::quiet_NaN(), ""},
      {std::numeric_limits<double>::infinity(), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.time, "yyyyMd", "hhmmss", true), c.stamp) << c.time;
}

}  // namespace
}  // namespace venbrook
