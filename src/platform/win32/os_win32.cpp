// Windows implementation of the core's operating-system needs. Paths reach
// the wide API as UTF-16 and come back from it the same way: no path passes
// through a code page, whatever the user's.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>

#include "platform/os.h"
#include "platform/win32/wide_text.h"

namespace venbrook::os {
namespace {

using win32::Narrow;
using win32::PathFromWide;
using win32::Widen;
using win32::WidePath;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::size_t WriteAll(HANDLE file, std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + written, chunk, &put, nullptr) || put == 0) break;
    written += put;
  }
  return written;
}

}  // namespace

std::string ConvertUtf8ToGbk(std::string_view utf8) { return Narrow(win32::WidenUtf8(utf8)); }
std::string ConvertGbkToUtf8(std::string_view gbk) { return win32::NarrowUtf8(Widen(gbk)); }

std::string SqliteFileName(const Path& path) { return path.utf8(); }

bool CanOpenForReading(const Path& path) {
  Handle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.valid();
}

bool PathExists(const Path& path) { return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::string> ReadWholeFile(const Path& path) {
  Handle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    content.append(buffer, got);
  }
  return content;
}

namespace {

// A file of another program's, opened for reading only and shared every way,
// so that program goes on writing, renaming or deleting it while we read.
HANDLE OpenForeignFile(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// A disk file, not a device or a pipe that a path like "CON" names.
bool IsDiskFile(HANDLE file) { return GetFileType(file) == FILE_TYPE_DISK; }

// Reads into `out` until `limit` bytes or the end; false on a read error.
bool ReadUpTo(HANDLE file, std::size_t limit, std::string& out) {
  char buffer[65536];
  while (out.size() < limit) {
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min(sizeof buffer, limit - out.size()));
    if (!ReadFile(file, buffer, wanted, &got, nullptr)) return false;
    if (got == 0) break;
    out.append(buffer, got);
  }
  return true;
}

}  // namespace

std::optional<FileStart> ReadFileStart(const Path& path, std::size_t count) {
  const std::wstring wide = WidePath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  FileStart start;
  Handle file(OpenForeignFile(wide));
  if (!file.valid()) return start;
  if (!IsDiskFile(file.get())) return std::nullopt;
  LARGE_INTEGER size{};
  start.opened = GetFileSizeEx(file.get(), &size) && ReadUpTo(file.get(), count, start.bytes);
  start.size = static_cast<std::uint64_t>(size.QuadPart);
  return start;
}

SourceFileRead ReadSourceFile(const Path& path, std::uint64_t limit, std::string& bytes) {
  bytes.clear();
  Handle file(OpenForeignFile(WidePath(path)));
  if (!file.valid() || !IsDiskFile(file.get())) return SourceFileRead::CannotOpen;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return SourceFileRead::CannotOpen;
  if (static_cast<std::uint64_t>(size.QuadPart) > limit) return SourceFileRead::TooLarge;
  bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  // One byte past the limit tells a file that grew meanwhile.
  SourceFileRead outcome = SourceFileRead::Read;
  if (!ReadUpTo(file.get(), static_cast<std::size_t>(limit) + 1, bytes)) outcome = SourceFileRead::Failed;
  else if (bytes.size() > limit) outcome = SourceFileRead::TooLarge;
  if (outcome != SourceFileRead::Read) bytes.clear();
  return outcome;
}

bool ReplaceWholeFile(const Path& path, std::string_view bytes) {
  const std::wstring target = WidePath(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  const std::wstring temporary = target + L".tmp";
  bool written = false;
  {
    Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file.valid()) return false;
    written = WriteAll(file.get(), bytes) == bytes.size();
  }  // closed before any delete: opened without sharing, it could not be deleted
  if (!written ||
      !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

bool RemoveFile(const Path& path) { return DeleteFileW(WidePath(path).c_str()) != 0; }

AppendingFile::AppendingFile(const Path& path) {
  // No sharing: nobody writes between our lines, nobody reads half a line.
  const HANDLE file = CreateFileW(WidePath(path).c_str(), FILE_APPEND_DATA | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  handle_ = reinterpret_cast<std::intptr_t>(file);
  open_ = true;
  LARGE_INTEGER length{};
  if (GetFileSizeEx(file, &length)) startLength_ = static_cast<std::uint64_t>(length.QuadPart);
  SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_END);
}

AppendingFile::~AppendingFile() {
  if (open_) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::size_t AppendingFile::append(std::string_view bytes) {
  return open_ ? WriteAll(reinterpret_cast<HANDLE>(handle_), bytes) : 0;
}

bool AppendingFile::truncate(std::uint64_t length) {
  if (!open_) return false;
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  LARGE_INTEGER keep{};
  keep.QuadPart = static_cast<LONGLONG>(length);
  return SetFilePointerEx(file, keep, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

// FOLDERID_Desktop, written out here: the library that defines it brings
// some two thousand other identifiers, 38 KB, into the program with it.
constexpr GUID kDesktopFolderId = {0xB4BFCC3A, 0xDB2C, 0x424C, {0xB0, 0x29, 0x7F, 0xE9, 0x9A, 0x87, 0xC6, 0x41}};

// The known-folder call has no length limit, unlike the older
// SHGetSpecialFolderPath with its MAX_PATH buffer. Nothing is created.
Path DesktopFolder() {
  PWSTR folder = nullptr;
  Path desktop;
  if (SUCCEEDED(SHGetKnownFolderPath(kDesktopFolderId, 0, nullptr, &folder))) {
    std::wstring_view text(folder);
    while (text.size() > 3 && text.back() == L'\\') text.remove_suffix(1);
    desktop = PathFromWide(text);
  }
  CoTaskMemFree(folder);
  return desktop;
}

Path ProgramFileName() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return PathFromWide(name);
    }
    name.resize(name.size() * 2);
  }
}

WallClock LocalWallClock() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace venbrook::os
