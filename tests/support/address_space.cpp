#include "support/address_space.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace venbrook::test {

#if defined(__SANITIZE_ADDRESS__)
#define VENBROOK_ADDRESS_SPACE_LIMIT 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VENBROOK_ADDRESS_SPACE_LIMIT 0
#endif
#endif
#ifndef VENBROOK_ADDRESS_SPACE_LIMIT
#define VENBROOK_ADDRESS_SPACE_LIMIT 1
#endif

#ifdef _WIN32

// The 2 GB of a 32-bit process are reserved in a moment. The 128 TB of a
// 64-bit one cannot be (Wine keeps a byte for every page reserved): there
// the shell that starts the test limits the whole process first
// (tests/win32/address_space_limit.sh) and says so.
bool AddressSpaceLimit::available() {
  return VENBROOK_ADDRESS_SPACE_LIMIT != 0 &&
         (sizeof(void*) == 4 || std::getenv("VENBROOK_ADDRESS_SPACE_LIMIT_MB") != nullptr);
}

// Windows's heap maps a block of more than half a megabyte of its own and
// unmaps it when freed, so what it keeps of earlier tests' memory serves
// only small blocks; Wine's own side needs those when little is left.
AddressSpaceLimit::AddressSpaceLimit(std::size_t headroom) {
  if (!available()) return;
  // The headroom first, so that it is one piece once the rest is taken.
  void* kept = VirtualAlloc(nullptr, headroom, MEM_RESERVE, PAGE_NOACCESS);
  for (std::size_t size = std::size_t{1} << 30; size >= 64 * 1024; size /= 2)
    while (void* block = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS)) reserved_.push_back(block);
  if (kept) VirtualFree(kept, 0, MEM_RELEASE);
  limited_ = true;
}

AddressSpaceLimit::~AddressSpaceLimit() {
  for (void* block : reserved_) VirtualFree(block, 0, MEM_RELEASE);
}

#else

bool AddressSpaceLimit::available() { return VENBROOK_ADDRESS_SPACE_LIMIT != 0; }

namespace {

// Whatever glibc kept of memory freed before (earlier tests' large lists)
// would serve the load beyond the headroom: it is taken too, block by
// block, once nothing new can be mapped.
void TakeWhatTheAllocatorKeeps(std::vector<void*>& taken) {
  for (std::size_t size = std::size_t{1} << 20; size >= 16; size /= 2) {
    while (taken.size() < taken.capacity()) {
      void* block = std::malloc(size);
      if (block == nullptr) break;
      taken.push_back(block);
    }
  }
}

// Read without allocating: it is asked once nothing more can be allocated.
std::size_t AddressSpaceInUse() {
  char text[64] = {};
  const int fd = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  const ssize_t got = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (got <= 0) return 0;
  return std::strtoull(text, nullptr, 10) * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

bool LimitAddressSpace(std::size_t bytes) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) != 0) return false;
  limit.rlim_cur = bytes;
  return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

}  // namespace

AddressSpaceLimit::AddressSpaceLimit(std::size_t headroom) {
  if (!available()) return;
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) != 0) return;
  formerLimit_ = limit.rlim_cur;
  taken_.reserve(std::size_t{1} << 20);
  // Blocks of 64 KB and more are mapped of their own and given back when
  // freed, so the headroom is what the load's large blocks get.
  mallopt(M_MMAP_THRESHOLD, 64 * 1024);
  malloc_trim(0);
  const std::size_t inUse = AddressSpaceInUse();
  limited_ = inUse > 0 && LimitAddressSpace(inUse);
  if (!limited_) return;
  TakeWhatTheAllocatorKeeps(taken_);
  LimitAddressSpace(AddressSpaceInUse() + headroom);
}

AddressSpaceLimit::~AddressSpaceLimit() {
  if (limited_) LimitAddressSpace(static_cast<std::size_t>(formerLimit_));
  for (void* block : taken_) std::free(block);
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);  // glibc's own
}

#endif

}  // namespace venbrook::test
