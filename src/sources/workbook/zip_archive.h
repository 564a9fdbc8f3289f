#pragma once
// A zip archive held in memory, read through minizip: its entries by name,
// each inflated a piece at a time. What the archive may inflate is bounded
// by a budget shared by every entry read, so a small hostile file cannot
// make the program hold gigabytes.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

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

// Inflating reads no more than the budget: a zip bomb costs nothing. Memory
// running out inside minizip or zlib is std::bad_alloc, thrown once their
// call has returned, as any other allocation of the load fails.
class ZipArchive {
 public:
  // The bytes must outlive the archive. Its central directory is read once,
  // whatever it holds (100,000 entries of other things besides a workbook's
  // parts), so that finding an entry never walks the others.
  explicit ZipArchive(std::string_view bytes);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // False when the bytes are no zip archive minizip can open, or its
  // central directory is damaged.
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
  // Where an entry's header lies in the central directory, by a hash of its
  // name: a few words an entry, fewer than the directory's own bytes.
  struct EntryAt {
    std::uint64_t nameHash, directoryAt, number;
  };
  void indexEntries();
  // Makes the entry of that exact name minizip's current one (the first of
  // that name); false when there is none.
  bool locate(std::string_view entryName);

  ZipBytes bytes_;
  void* handle_ = nullptr;  // minizip's unzFile
  std::vector<EntryAt> entries_;  // sorted by hash, then by their order in the archive
};

}  // namespace venbrook
