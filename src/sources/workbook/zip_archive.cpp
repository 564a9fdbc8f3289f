#include "sources/workbook/zip_archive.h"

#include <unzip.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace venbrook {
namespace {

// minizip reads through these callbacks: the archive's bytes in memory
// stand for the file. The "file name" minizip passes on is the ZipBytes.
using Memory = ZipBytes;

voidpf ZCALLBACK OpenMemory(voidpf, const void* memory, int) { return const_cast<void*>(memory); }

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size) {
  auto& memory = *static_cast<Memory*>(stream);
  const std::uint64_t left = memory.bytes.size() - std::min<std::uint64_t>(memory.at, memory.bytes.size());
  const auto count = static_cast<uLong>(std::min<std::uint64_t>(size, left));
  if (count > 0) std::memcpy(buffer, memory.bytes.data() + memory.at, count);
  memory.at += count;
  return count;
}

uLong ZCALLBACK WriteNothing(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream) { return static_cast<Memory*>(stream)->at; }

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto& memory = *static_cast<Memory*>(stream);
  std::uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = memory.at; break;
    case ZLIB_FILEFUNC_SEEK_END: base = memory.bytes.size(); break;
    default: return -1;
  }
  if (offset > memory.bytes.size() || base > memory.bytes.size() - offset) return -1;
  memory.at = base + offset;
  return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }
int ZCALLBACK NoError(voidpf, voidpf) { return 0; }

unzFile Handle(void* handle) { return static_cast<unzFile>(handle); }

std::uint64_t NameHash(std::string_view name) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

// The current entry's name (at most 65,535 bytes, as a zip stores it).
bool CurrentName(unzFile zip, std::string& name) {
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  name.resize(info.size_filename + 1);
  if (unzGetCurrentFileInfo64(zip, &info, name.data(), name.size(), nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  name.resize(info.size_filename);
  return true;
}

// What minizip and zlib say when an allocation of theirs failed.
bool OutOfMemory(int status) { return status == UNZ_INTERNALERROR || status == Z_MEM_ERROR; }

}  // namespace

ZipArchive::ZipArchive(std::string_view bytes) : bytes_{bytes} {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = OpenMemory;
  functions.zread_file = ReadMemory;
  functions.zwrite_file = WriteNothing;
  functions.ztell64_file = TellMemory;
  functions.zseek64_file = SeekMemory;
  functions.zclose_file = CloseMemory;
  functions.zerror_file = NoError;
  handle_ = unzOpen2_64(&bytes_, &functions);
  if (handle_) indexEntries();
}

void ZipArchive::indexEntries() {
  unzFile zip = Handle(handle_);
  std::string name;
  int status = unzGoToFirstFile(zip);
  for (std::uint64_t number = 0; status == UNZ_OK; ++number, status = unzGoToNextFile(zip)) {
    unz64_file_pos at{};
    if (!CurrentName(zip, name) || unzGetFilePos64(zip, &at) != UNZ_OK) break;
    entries_.push_back({NameHash(name), at.pos_in_zip_directory, at.num_of_file});
  }
  // An archive without entries is a zip all the same; one whose directory
  // breaks off part-way is damaged. A writer that knows no zip64 counts
  // 65,535 entries for any more: minizip then reads on until no entry
  // follows, and the error there is the directory's end.
  unz_global_info64 global{};
  const bool countUnknown = unzGetGlobalInfo64(zip, &global) == UNZ_OK && global.number_entry == 0xFFFF;
  const bool ended = status == UNZ_END_OF_LIST_OF_FILE || (countUnknown && entries_.size() >= 0xFFFF);
  if (status != UNZ_OK && !ended) {
    unzClose(zip);
    handle_ = nullptr;
    entries_.clear();
    return;
  }
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const EntryAt& a, const EntryAt& b) { return a.nameHash < b.nameHash; });
}

bool ZipArchive::locate(std::string_view entryName) {
  if (!handle_) return false;
  unzFile zip = Handle(handle_);
  const std::uint64_t hash = NameHash(entryName);
  auto candidate = std::lower_bound(entries_.begin(), entries_.end(), hash,
                                    [](const EntryAt& entry, std::uint64_t h) { return entry.nameHash < h; });
  std::string name;
  for (; candidate != entries_.end() && candidate->nameHash == hash; ++candidate) {
    const unz64_file_pos at{candidate->directoryAt, candidate->number};
    if (unzGoToFilePos64(zip, &at) == UNZ_OK && CurrentName(zip, name) && name == entryName) return true;
  }
  return false;
}

ZipArchive::~ZipArchive() {
  if (handle_) unzClose(Handle(handle_));
}

bool ZipArchive::has(std::string_view entryName) { return locate(entryName); }

std::uint64_t ZipArchive::declaredSize(std::string_view entryName) {
  if (!has(entryName)) return 0;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(Handle(handle_), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return 0;
  return info.uncompressed_size;
}

EntryRead ZipArchive::read(std::string_view entryName, InflateBudget& budget,
                           const std::function<bool(std::string_view)>& consume) {
  if (!handle_) return EntryRead::Damaged;
  unzFile zip = Handle(handle_);
  if (!locate(entryName)) return EntryRead::Missing;
  if (budget.bytesLeft < budget.bytesPerEntry) return EntryRead::TooLarge;
  budget.bytesLeft -= budget.bytesPerEntry;
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return EntryRead::Damaged;
  if (const int opened = unzOpenCurrentFile(zip); opened != UNZ_OK) {
    if (OutOfMemory(opened)) throw std::bad_alloc();
    return EntryRead::Damaged;
  }

  // minizip never reads more compressed bytes than the entry declares, so
  // the declared size bounds the ratio honestly.
  const std::uint64_t compressed = std::max<std::uint64_t>(info.compressed_size, 1);
  std::uint64_t inflated = 0;
  EntryRead outcome = EntryRead::Read;
  char buffer[64 * 1024];
  for (;;) {
    const int got = unzReadCurrentFile(zip, buffer, sizeof buffer);
    if (got == Z_MEM_ERROR) {
      unzCloseCurrentFile(zip);
      throw std::bad_alloc();
    }
    if (got < 0) {
      outcome = EntryRead::Damaged;
      break;
    }
    if (got == 0) break;
    inflated += static_cast<std::uint64_t>(got);
    if (static_cast<std::uint64_t>(got) > budget.bytesLeft ||
        (inflated > budget.ratioCheckedFrom && inflated / compressed > budget.largestRatio)) {
      outcome = EntryRead::TooLarge;
      break;
    }
    budget.bytesLeft -= static_cast<std::uint64_t>(got);
    if (!consume(std::string_view(buffer, static_cast<std::size_t>(got)))) {
      outcome = EntryRead::Stopped;
      break;
    }
  }
  // Closing checks the CRC once the whole entry was read.
  const int closed = unzCloseCurrentFile(zip);
  if (outcome == EntryRead::Read && closed != UNZ_OK) outcome = EntryRead::Damaged;
  return outcome;
}

}  // namespace venbrook
