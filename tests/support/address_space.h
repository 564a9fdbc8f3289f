#pragma once
// Memory that really runs out: while an object of this class lives, the
// process has no more than about `headroom` bytes of address space left, so
// that an allocation past it fails as it would on a full 32-bit machine.
// Natively a soft limit on the address space (RLIMIT_AS); on Windows the
// rest of the address space is reserved, 2 GB under 32 bits as the 128 TB
// of 64. No allocator is replaced: the program's own new and malloc fail.
//
// AddressSanitizer's allocator reserves its memory up front and ends the
// program on a failed allocation, so there is no limit under it
// (`available` is false).
#include <cstddef>
#include <vector>

namespace venbrook::test {

class AddressSpaceLimit {
 public:
  explicit AddressSpaceLimit(std::size_t headroom);
  ~AddressSpaceLimit();
  AddressSpaceLimit(const AddressSpaceLimit&) = delete;
  AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

  static bool available();

 private:
  std::vector<void*> reserved_;  // Windows: the address space taken
  unsigned long long formerLimit_ = 0;
  bool limited_ = false;
};

}  // namespace venbrook::test
