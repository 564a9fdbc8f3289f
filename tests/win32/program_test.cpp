// The built program itself, started as an operator starts it: from a
// shortcut whose working folder is elsewhere, then closed.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sources/profile_file.h"
#include "support/sqlite_fixture.h"
#include "support/temp_folder.h"

namespace venbrook::test {
namespace {

struct Found {
  DWORD process;
  const wchar_t* className;
  HWND window;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM context) {
  auto& found = *reinterpret_cast<Found*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (owner != found.process || wcscmp(className, found.className) != 0) return TRUE;
  found.window = window;
  return FALSE;
}

// A top-level window of the class in the process, waiting up to 15 s.
HWND WaitForWindow(DWORD process, const wchar_t* className, bool visible) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline) {
    Found found{process, className, nullptr};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&found));
    if (found.window && (!visible || IsWindowVisible(found.window))) return found.window;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return nullptr;
}

HWND FindDescendant(HWND parent, const wchar_t* className) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (wcscmp(name, className) == 0) return child;
    if (HWND deeper = FindDescendant(child, className)) return deeper;
  }
  return nullptr;
}

class Program : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(VENBROOK_PROGRAM_FILE, folder / "Venbrook.exe");
  }
  void TearDown() override {
    if (process.hProcess) {
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, 5000);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }
  void start() {
    STARTUPINFOW startup{sizeof startup};
    std::wstring commandLine = L"\"" + (folder / "Venbrook.exe").wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               elsewhere.path().wstring().c_str(), &startup, &process));
  }
  DWORD waitForExit() {
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 12345;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
  }

  TempFolder folder;
  TempFolder elsewhere;
  PROCESS_INFORMATION process{};
};

TEST_F(Program, LoadsARelativeStoredPathFromItsOwnFolderAndEndsWithZero) {
  std::filesystem::create_directory(folder / "data");
  MakeYungengxinDatabase(CorePath(folder / "data" / "lwdiskless.db"),
                         {{"PC01", "00-00-00-00-00-01"}, {"PC02", "00-00-00-00-00-02"}, {"PC03", "00"}});
  WriteIniValue(CorePath(folder / "config.ini"), "config", "data", "data\\lwdiskless.db");
  start();
  HWND window = WaitForWindow(process.dwProcessId, L"VenbrookMainWindow", true);
  ASSERT_NE(window, nullptr);
  HWND list = FindDescendant(window, WC_LISTVIEWW);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(waitForExit(), 0u);
  // The connection was closed on the way out: the database can go at once.
  EXPECT_TRUE(std::filesystem::remove(folder / "data" / "lwdiskless.db"));
}

TEST_F(Program, FirstRunAsksForTheDatabaseBeforeShowingTheWindow) {
  start();
  HWND dialog = WaitForWindow(process.dwProcessId, L"#32770", true);
  ASSERT_NE(dialog, nullptr);
  HWND window = WaitForWindow(process.dwProcessId, L"VenbrookMainWindow", false);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));

  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_NE(WaitForWindow(process.dwProcessId, L"VenbrookMainWindow", true), nullptr);
  EXPECT_EQ(ReadBytes(folder / "config.ini").value_or("missing"), "[config]\r\ndata=\r\n");

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(waitForExit(), 0u);
}

}  // namespace
}  // namespace venbrook::test
