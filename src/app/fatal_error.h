#pragma once
// Failures of the program's environment (the window cannot be built, memory
// runs out): a box titled "错误", then the exit routines, then exit code -1.
#include <functional>
#include <string_view>

namespace venbrook {

// Routines run once at the end, normal or fatal, in the order registered.
void AddExitRoutine(std::function<void()> routine);
void RunExitRoutines();

[[noreturn]] void ReportFatal(std::string_view detail);  // detail: GBK
[[noreturn]] void ReportFatalFromCurrentException();

}  // namespace venbrook
