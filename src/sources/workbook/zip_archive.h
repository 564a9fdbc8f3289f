#pragma once
// A zip archive held in memory, read through minizip: its entries by name,
// each inflated a piece at a time. What the archive may inflate is bounded
// by a budget shared by every entry read, so a small hostile file cannot
// make the program hold gigabytes.
#include <cstdint>
#include <functional>
#include <string_view>

#include "sources/read_bounds.h"

namespace venbrook {

// What all the entries read from one archive may inflate to, together; and
// the ratio of inflated to compressed bytes past which an entry is taken
// for a zip bomb (ordinary XML compresses 5 to 30 times; a bomb thousands).
struct InflateBudget {
  std::uint64_t bytesLeft = kMaxInflatedBytes;
  std::uint64_t ratioCheckedFrom = 1024 * 1024;  // bytes of one entry
  std::uint64_t largestRatio = 200;
  // What each entry read costs besides its bytes: a workbook naming the same
  // empty part a million times is refused (about a thousand entries fit).
  std::uint64_t bytesPerEntry = 64 * 1024;
};

enum class EntryRead {
  Read,      // every byte, its checksum right
  Missing,   // no entry of that name
  Damaged,   // the archive or the entry's data is broken
  TooLarge,  // past the budget, or a ratio only a zip bomb reaches
  Stopped,   // the consumer asked to stop
};

// The archive's bytes and the position minizip reads at.
struct ZipBytes {
  std::string_view bytes;
  std::uint64_t at = 0;
};

class ZipArchive {
 public:
  // The bytes must outlive the archive.
  explicit ZipArchive(std::string_view bytes);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // False when the bytes are no zip archive minizip can open.
  bool isOpen() const { return handle_ != nullptr; }
  bool has(std::string_view entryName);
  // What the entry says it inflates to (0 when there is no such entry): a
  // hint for room to reserve, never trusted beyond the budget.
  std::uint64_t declaredSize(std::string_view entryName);

  // Inflates the entry, handing each piece to `consume`, which returns false
  // to stop. Entry names are compared exactly (a workbook's parts are
  // written in one case).
  EntryRead read(std::string_view entryName, InflateBudget& budget,
                 const std::function<bool(std::string_view piece)>& consume);

 private:
  ZipBytes bytes_;
  void* handle_ = nullptr;  // minizip's unzFile
};

}  // namespace venbrook
