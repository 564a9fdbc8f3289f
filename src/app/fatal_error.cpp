#include "app/fatal_error.h"

#include <windows.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "model/gbk_text.h"
#include "model/text_codec.h"
#include "platform/win32/wide_text.h"

namespace venbrook {
namespace {

std::vector<std::function<void()>>& ExitRoutines() {
  static std::vector<std::function<void()>> routines;
  return routines;
}

// The size of the allocation that failed last, for the fatal box.
std::size_t gFailedAllocation = 0;

}  // namespace

void AddExitRoutine(std::function<void()> routine) { ExitRoutines().push_back(std::move(routine)); }

void RunExitRoutines() {
  std::vector<std::function<void()>> routines;
  routines.swap(ExitRoutines());
  for (auto& routine : routines) routine();
}

void ReportFatal(std::string_view detail) {
  const std::string text = Gbk("运行时出错!\r\n\r\n错误信息：") + std::string(detail);
  MessageBoxW(nullptr, win32::Widen(text).c_str(), L"错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  RunExitRoutines();
  ExitProcess(static_cast<UINT>(-1));
}

void ReportFatalFromCurrentException() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    std::string detail = Gbk("分配 ") + DecimalText(static_cast<long long>(gFailedAllocation)) + Gbk(" 字节内存失败!");
    ReportFatal(detail);
  } catch (...) {
    ReportFatal(Gbk("未知错误"));
  }
}

}  // namespace venbrook

// Every allocation of the program goes through here so that a failure can
// name its size.
void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  venbrook::gFailedAllocation = size;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
