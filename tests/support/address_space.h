#pragma once
// Memory that really runs out: while an object of this class lives, the
// process has no more than about `headroom` bytes of address space left, so
// that an allocation past it fails as it would on a full 32-bit machine.
// Natively a soft limit on the address space (RLIMIT_AS); on Windows the
// rest of the address space is reserved: the 2 GB of 32 bits, or under 64
// what the shell that started the test left (tests/win32/
// address_space_limit.sh). Natively what glibc kept of memory freed before
// is taken too, so that only the headroom is left. No allocator is
// replaced: the program's own new and malloc fail.
//
// `available` is false where no limit can be had: under AddressSanitizer,
// whose allocator reserves its memory up front and ends the program on a
// failed allocation, and in a 64-bit Windows process started without that
// shell.
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
  std::vector<void*> taken_;     // natively: glibc's free blocks taken
  unsigned long long formerLimit_ = 0;
  bool limited_ = false;
};

}  // namespace venbrook::test
