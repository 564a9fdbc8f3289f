// The program's entry: its own folder becomes the current one, the one
// database connection is made, the window is built and its messages run.
#include <windows.h>
#include <commctrl.h>

#include "app/fatal_error.h"
#include "app/main_window.h"
#include "commands/database_location.h"
#include "model/text_codec.h"
#include "platform/os.h"
#include "platform/win32/wide_text.h"

namespace {

// A DLL planted beside the program (a downloads folder) must never be
// loaded: only the system folder is searched. The function is looked up
// because Windows 7 without its update lacks it.
void SearchSystemFolderOnlyForDlls() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (restrict != nullptr) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}

int Run(int showCommand) {
  using namespace venbrook;
  const Path programDirectory = ProgramDirectoryOf(os::ProgramFileName());
  // "C:" alone would name the drive's current folder, not its root.
  const Path current = programDirectory.utf8().size() == 2 ? programDirectory.asFolder() : programDirectory;
  SetCurrentDirectoryW(win32::WidePath(current).c_str());

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  SourceConnection connection;
  AddExitRoutine([&connection] { connection.close(); });
  MachineList list;
  Win32Modals modals;
  MainWindow window(modals, list, connection, programDirectory, DesktopNow());
  if (!window.open(showCommand))
    ReportFatal(Gbk("载入启动窗口失败\r\n窗口：MainWindow"));
  window.endLoopOnClose();
  if (window.handle() != nullptr) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window.preTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  RunExitRoutines();
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  SearchSystemFolderOnlyForDlls();
  try {
    return Run(showCommand);
  } catch (...) {
    venbrook::ReportFatalFromCurrentException();
  }
}
