// Native implementation of the core's operating-system needs. Paths keep the
// core's Windows form, UTF-8 with '\' between folders; '\' becomes '/' at
// this boundary.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/os.h"

namespace venbrook::os {
namespace {

std::string NativePath(const Path& path) {
  std::string native = path.utf8();
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

Path CorePath(std::string native) {
  for (char& c : native)
    if (c == '/') c = '\\';
  return Path::FromUtf8(native);
}

}  // namespace

std::string SqliteFileName(const Path& path) { return NativePath(path); }

bool CanOpenForReading(const Path& path) {
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool PathExists(const Path& path) {
  struct stat info {};
  return ::stat(NativePath(path).c_str(), &info) == 0;
}

std::optional<std::string> ReadWholeFile(const Path& path) {
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    content.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return content;
}

namespace {

// A file of another program's, opened for reading only. Its access time is
// kept where the system lets us (O_NOATIME is refused for others' files).
int OpenForeignFile(const std::string& native) {
  const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOATIME);
  return fd >= 0 || errno != EPERM ? fd : ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
}

// Reads into `out` until `limit` bytes or the end; false on a read error.
// Straight into the room `out` has reserved (a file's size), so the bytes
// are copied once; past that room through a small buffer, which at the
// end of a file only finds that nothing more comes.
bool ReadUpTo(int fd, std::size_t limit, std::string& out) {
  char buffer[65536];
  while (out.size() < limit) {
    const std::size_t had = out.size(), room = std::min(out.capacity() - had, limit - had);
    ssize_t got;
    if (room >= sizeof buffer) {
      out.resize(had + room);
      got = ::read(fd, out.data() + had, room);
      out.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    } else {
      got = ::read(fd, buffer, std::min(sizeof buffer, limit - had));
      if (got > 0) out.append(buffer, static_cast<std::size_t>(got));
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
  }
  return true;
}

}  // namespace

std::optional<FileStart> ReadFileStart(const Path& path, std::size_t count) {
  const std::string native = NativePath(path);
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  FileStart start;
  const int fd = OpenForeignFile(native);
  if (fd < 0) return start;
  start.opened = ReadUpTo(fd, count, start.bytes);
  start.size = static_cast<std::uint64_t>(info.st_size);
  ::close(fd);
  return start;
}

SourceFileRead ReadSourceFile(const Path& path, std::uint64_t limit, std::string& bytes) {
  bytes.clear();
  const int fd = OpenForeignFile(NativePath(path));
  if (fd < 0) return SourceFileRead::CannotOpen;
  struct stat info {};
  SourceFileRead outcome = SourceFileRead::Read;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    outcome = SourceFileRead::CannotOpen;
  } else if (static_cast<std::uint64_t>(info.st_size) > limit) {
    outcome = SourceFileRead::TooLarge;
  } else {
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    // One byte past the limit tells a file that grew meanwhile.
    if (!ReadUpTo(fd, static_cast<std::size_t>(limit) + 1, bytes)) outcome = SourceFileRead::Failed;
    else if (bytes.size() > limit) outcome = SourceFileRead::TooLarge;
  }
  ::close(fd);
  if (outcome != SourceFileRead::Read) bytes.clear();
  return outcome;
}

namespace {

std::size_t WriteAll(int fd, std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    written += static_cast<std::size_t>(put);
  }
  return written;
}

}  // namespace

bool ReplaceWholeFile(const Path& path, std::string_view bytes) {
  const std::string target = NativePath(path);
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && (existing.st_mode & S_IWUSR) == 0) return false;
  const std::string temporary = target + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes) == bytes.size();
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool RemoveFile(const Path& path) { return ::unlink(NativePath(path).c_str()) == 0; }

AppendingFile::AppendingFile(const Path& path) {
  const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  // No other writer between our lines, whoever else appends to the file.
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(fd, F_SETLK, &lock) != 0) {
    ::close(fd);
    return;
  }
  handle_ = fd;
  open_ = true;
  if (const off_t end = ::lseek(fd, 0, SEEK_END); end >= 0) startLength_ = static_cast<std::uint64_t>(end);
}

AppendingFile::~AppendingFile() {
  if (open_) ::close(static_cast<int>(handle_));
}

std::size_t AppendingFile::append(std::string_view bytes) {
  return open_ ? WriteAll(static_cast<int>(handle_), bytes) : 0;
}

bool AppendingFile::truncate(std::uint64_t length) {
  return open_ && ::ftruncate(static_cast<int>(handle_), static_cast<off_t>(length)) == 0;
}

Path DesktopFolder() {
  const char* configured = std::getenv("XDG_DESKTOP_DIR");
  std::string folder;
  if (configured && *configured) {
    folder = configured;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    folder = std::string(home) + "/Desktop";
  }
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
  return CorePath(folder);
}

Path ProgramFileName() {
  std::string name(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", name.data(), name.size());
    if (length <= 0) return {};
    if (static_cast<std::size_t>(length) < name.size()) {
      name.resize(static_cast<std::size_t>(length));
      return CorePath(name);
    }
    name.resize(name.size() * 2);
  }
}

WallClock LocalWallClock() {
  const std::time_t now = std::time(nullptr);
  std::tm local {};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace venbrook::os
