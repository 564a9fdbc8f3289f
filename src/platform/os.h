#pragma once
// The few things the core asks of the operating system. Each has one
// implementation for Windows (platform/win32) and one for the native build
// that the tests run on (platform/posix). Paths are `Path`s (platform/path.h).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/path.h"

namespace venbrook::os {

// Code page 936 conversions, as Windows makes them in either build. In the
// first, a character GBK lacks becomes '?', and so does each ill-formed run
// of UTF-8. In the second, a pair of bytes that is no character becomes
// '?', and so does a lead byte with nothing after it.
std::string ConvertUtf8ToGbk(std::string_view utf8);
std::string ConvertGbkToUtf8(std::string_view gbk);

// The name SQLite is given to open the file at a path.
std::string SqliteFileName(const Path& path);

// Opens the file for reading and closes it again.
bool CanOpenForReading(const Path& path);

bool PathExists(const Path& path);

std::optional<std::string> ReadWholeFile(const Path& path);

// Files of another program's (a product's database, an operator's list) are
// read without disturbing it: opened for reading only and shared for
// reading, writing and deleting, so the program that owns the file goes on
// as if nobody looked.

// The start of a regular file: its first bytes and its length, or
// `opened` false when it exists but cannot be opened for reading.
struct FileStart {
  bool opened = false;
  std::uint64_t size = 0;
  std::string bytes;
};
// None when the path names no regular file (nothing there, a folder).
std::optional<FileStart> ReadFileStart(const Path& path, std::size_t count);

enum class SourceFileRead { Read, CannotOpen, TooLarge, Failed };
// The whole file into `bytes`; TooLarge, with nothing kept, when it holds
// more than `limit` bytes; Failed when reading stops before the end.
SourceFileRead ReadSourceFile(const Path& path, std::uint64_t limit, std::string& bytes);

// Replaces the file's content with `bytes`, creating it if needed. The old
// content stays if anything fails.
bool ReplaceWholeFile(const Path& path, std::string_view bytes);

// Deletes the file; false when it could not be deleted (or was not there).
bool RemoveFile(const Path& path);

// A file opened to add bytes at its end, created if missing and shut to other
// writers while it is open. What makes whole lines of those bytes is the
// export's business; this is only the file.
class AppendingFile {
 public:
  explicit AppendingFile(const Path& path);
  ~AppendingFile();
  AppendingFile(const AppendingFile&) = delete;
  AppendingFile& operator=(const AppendingFile&) = delete;

  bool isOpen() const { return open_; }
  // The file's length when it was opened; none when it could not be read.
  std::optional<std::uint64_t> startLength() const { return startLength_; }
  // Writes at the end; the bytes written, fewer than given when a write fails.
  std::size_t append(std::string_view bytes);
  // Cuts the file to its first `length` bytes.
  bool truncate(std::uint64_t length);

 private:
  std::intptr_t handle_ = -1;  // a file descriptor or a HANDLE
  bool open_ = false;
  std::optional<std::uint64_t> startLength_;
};

// The folder the user's desktop shows, without a trailing separator; empty
// when it cannot be found.
Path DesktopFolder();

// The running program's own full file name.
Path ProgramFileName();

// The local wall clock, to the second.
struct WallClock {
  int year, month, day, hour, minute, second;
};
WallClock LocalWallClock();

}  // namespace venbrook::os
