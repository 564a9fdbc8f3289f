#pragma once
// The few things the core asks of the operating system. Each has one
// implementation for Windows (platform/win32) and one for the native build
// that the tests run on (platform/posix). Paths are GBK texts with '\' as the
// folder separator on both.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace venbrook::os {

// Code page 936 conversions. Input to the first is well-formed UTF-8; a
// character GBK lacks becomes '?'. Bytes of the second that are not GBK
// become U+FFFD.
std::string ConvertUtf8ToGbk(std::string_view utf8);
std::string ConvertGbkToUtf8(std::string_view gbk);

// The name SQLite is given to open the file at a path.
std::string SqliteFileName(std::string_view path);

// Opens the file for reading and closes it again.
bool CanOpenForReading(std::string_view path);

bool PathExists(std::string_view path);

std::optional<std::string> ReadWholeFile(std::string_view path);

// Replaces the file's content with `bytes`, creating it if needed. The old
// content stays if anything fails.
bool ReplaceWholeFile(std::string_view path, std::string_view bytes);

// Appends to the file (created if missing) the pieces `nextPiece` hands out,
// in order, until it hands out an empty one, holding the file shut to other
// writers meanwhile. What was there before is never touched; after a failed
// write no further piece is asked for and the file is cut back to its former
// end plus the whole lines written, which `bytesKept` then counts (0 when the
// cut failed too).
struct AppendResult {
  bool opened = false;
  std::size_t bytesKept = 0;
};
AppendResult AppendLines(std::string_view path, const std::function<std::string_view()>& nextPiece);

// The folder the user's desktop shows, without a trailing separator; empty
// when it cannot be found.
std::string DesktopFolder();

// The running program's own full file name.
std::string ProgramFileName();

// Local time now, as days since 30 December 1899 with the time of day as the
// fraction, to the whole second.
double LocalNowAsAutomationDate();

}  // namespace venbrook::os
