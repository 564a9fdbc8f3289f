// A fuzz target's seeds fed to it once each, without libFuzzer: the native
// test run builds every target with this `main` so that the target's
// properties hold on its corpus in every build, not only while clang fuzzes.
//   fuzz_replay_<target> <folder or file>...
// Each file is named before it is fed: when a property fails (FUZZ_CHECK
// aborts) or a sanitizer stops the run, the last name printed is the input.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The files given and those directly in the folders given, each folder's in
// name order so that every run feeds the same sequence.
std::vector<fs::path> Inputs(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path given = argv[i];
    if (!fs::is_directory(given)) {
      inputs.push_back(given);
      continue;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(given))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    inputs.insert(inputs.end(), files.begin(), files.end());
  }
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<fs::path> inputs = Inputs(argc, argv);
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay: give corpus folders or files\n");
    return 2;
  }
  for (const fs::path& input : inputs) {
    std::printf("replaying %s\n", input.c_str());
    std::fflush(stdout);
    std::ifstream file(input, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.is_open() || file.bad()) {
      std::fprintf(stderr, "cannot read %s\n", input.c_str());
      return 2;
    }
    // A buffer of exactly the input's size, as libFuzzer gives, so that
    // AddressSanitizer sees a read past its end.
    const std::unique_ptr<unsigned char[]> data(new unsigned char[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
  }
  std::printf("%zu inputs replayed, every property held\n", inputs.size());
  return 0;
}
