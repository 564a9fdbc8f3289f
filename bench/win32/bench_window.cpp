#include "win32/bench_window.h"

#include <algorithm>
#include <cstdio>

#include "platform/win32/wide_text.h"

namespace venbrook::bench {

BenchFolder::BenchFolder(const char* name) {
  path_ = std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(path_);
}

BenchFolder::~BenchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

Path BenchFolder::path() const { return win32::PathFromWide(path_.wstring()); }

BenchWindow::BenchWindow()
    : window(std::make_unique<MainWindow>(modals, list, connection, program.path(),
                                          ExportPlace{[] { return Path(); }, [] { return 45844.0; }})) {}

bool BenchWindow::open() {
  if (!window->open(SW_SHOWNORMAL)) return false;
  Pump();
  return true;
}

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const std::size_t n = samples.size();
  return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

namespace {

std::vector<int> Sizes(const std::string& text) {
  std::vector<int> sizes;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    sizes.push_back(std::stoi(text.substr(at, comma - at)));
    at = comma + 1;
  }
  return sizes;
}

}  // namespace

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto value = [&](const char* name) {
      const std::string prefix = std::string(name) + "=";
      return argument.rfind(prefix, 0) == 0 ? argument.substr(prefix.size()) : std::string();
    };
    if (argument == "--smoke") {
      options.sizes = {500};
      options.repetitions = 1;
    } else if (!value("--data").empty()) {
      options.data = value("--data");
    } else if (!value("--rows").empty()) {
      options.sizes = Sizes(value("--rows"));
    } else if (!value("--repetitions").empty()) {
      options.repetitions = std::max(1, std::stoi(value("--repetitions")));
    } else {
      std::fprintf(stderr, "unknown argument %s\n", argv[i]);
      return false;
    }
  }
  return true;
}

}  // namespace venbrook::bench
