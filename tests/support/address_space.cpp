#include "support/address_space.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdlib>
#else
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
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

std::size_t AddressSpaceInUse() {
  std::size_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace

AddressSpaceLimit::AddressSpaceLimit(std::size_t headroom) {
  if (!available()) return;
  // What the allocator keeps of freed memory would serve the load beyond
  // the headroom: blocks of 64 KB and more are mapped of their own and
  // given back when freed, and the heap's free top goes back now.
  mallopt(M_MMAP_THRESHOLD, 64 * 1024);
  malloc_trim(0);
  rlimit limit{};
  if (::getrlimit(RLIMIT_AS, &limit) != 0) return;
  formerLimit_ = limit.rlim_cur;
  const std::size_t inUse = AddressSpaceInUse();
  if (inUse == 0) return;
  limit.rlim_cur = inUse + headroom;
  limited_ = ::setrlimit(RLIMIT_AS, &limit) == 0;
}

AddressSpaceLimit::~AddressSpaceLimit() {
  if (!limited_) return;
  rlimit limit{};
  ::getrlimit(RLIMIT_AS, &limit);
  limit.rlim_cur = static_cast<rlim_t>(formerLimit_);
  ::setrlimit(RLIMIT_AS, &limit);
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);  // glibc's own
}

#endif

}  // namespace venbrook::test
