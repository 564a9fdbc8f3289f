#pragma once
// What a spreadsheet cell shows, as text (UTF-8): a date where a number is
// shown through a date format, and the text of a string without the
// characters a machine's name cannot hold.
#include <string>
#include <string_view>

namespace venbrook {

// Number formats that show a number as a date or a time: the built-in ones
// (14-22, 45-47, and the East Asian 27-36 and 50-58 that Chinese Excel and
// WPS show as 2024年6月1日 or 10时05分), and a format code holding d, m, y, h
// or s outside quoted text, [brackets] and escaped characters.
bool IsBuiltInDateFormat(int numFmtId);
bool IsDateFormatCode(std::string_view formatCode);

// A serial day number (Excel's 1900 system, with its 29 February 1900, or
// the 1904 system) as ISO text: "2024-06-01", "2024-06-01 10:00" or
// "2024-06-01 10:00:05". None (the empty text) when the value is no number,
// or is before the system's first day or after 9999-12-31.
std::string SerialDateText(std::string_view value, bool system1904);

// A string cell's text as Excel shows it: the escapes _xHHHH_ an XML writer
// puts for characters XML cannot hold decoded, and every control
// character (a line break in a cell among them) made a space.
void CleanCellText(std::string& text);

}  // namespace venbrook
