// A target for the replay's self-test: its one property fails on the input
// "fails", so a replay that skips or cuts short that input passes wrongly.
#include <string_view>

#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(data), size) != "fails");
  return 0;
}
