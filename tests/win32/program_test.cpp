// The built program itself, started as an operator starts it: from a
// shortcut whose working folder is elsewhere, then closed.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/control_ids.h"
#include "settings/profile_file.h"
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

HWND FindById(HWND parent, int id) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == id) return child;
    if (HWND deeper = FindById(child, id)) return deeper;
  }
  return nullptr;
}

// A control's text, asked of the other process (GetWindowText would give
// what the control was made with).
std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

// Waits up to `seconds` for `done`, looking every millisecond.
template <typename Done>
bool WaitFor(Done done, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The program under test: the one this build linked, or the file named by
// VENBROOK_PROGRAM_FILE in the environment; the test run names the
// Venbrook.exe unpacked from each release zip, so the shipped bytes are tested.
std::filesystem::path ProgramUnderTest() {
  if (const wchar_t* file = _wgetenv(L"VENBROOK_PROGRAM_FILE"); file && *file) return file;
  return VENBROOK_PROGRAM_FILE;
}

class Program : public testing::Test {
 protected:
  void SetUp() override { install(folder.path()); }
  // The program copied into `where`, from where start() runs it.
  void install(const std::filesystem::path& where) {
    std::filesystem::create_directories(where);
    std::filesystem::copy_file(ProgramUnderTest(), where / "Venbrook.exe");
    programFolder = where;
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
    std::wstring commandLine = L"\"" + (programFolder / "Venbrook.exe").wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               elsewhere.path().wstring().c_str(), &startup, &process));
  }
  DWORD waitForExit() {
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 12345;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
  }

  // The list's rows in the program's window, once it shows.
  LRESULT rowsShown() {
    HWND window = WaitForWindow(process.dwProcessId, L"VenbrookMainWindow", true);
    HWND list = window ? FindDescendant(window, WC_LISTVIEWW) : nullptr;
    return list ? SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) : -1;
  }
  void close() {
    PostMessageW(WaitForWindow(process.dwProcessId, L"VenbrookMainWindow", true), WM_CLOSE, 0, 0);
    EXPECT_EQ(waitForExit(), 0u);
  }
  // Ends the program at once, as a crash does.
  void kill() {
    TerminateProcess(process.hProcess, 3);
    WaitForSingleObject(process.hProcess, 15000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    process = {};
  }
  // Right-clicks the list's empty space with the mouse and picks 重载, the
  // menu's second item, with the keyboard, as the operator may (the list
  // view follows the button itself, so the input must be real).
  void chooseReload(HWND window, HWND list) {
    SetForegroundWindow(window);
    RECT area{};
    GetWindowRect(list, &area);
    clickAt({area.left + 40, area.bottom - 20}, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    HWND menuWindow = WaitForWindow(process.dwProcessId, L"#32768", true);
    ASSERT_NE(menuWindow, nullptr);
    for (const WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) {  // 导出, 重载
      INPUT press[2] = {};
      press[0].type = press[1].type = INPUT_KEYBOARD;
      press[0].ki.wVk = press[1].ki.wVk = key;
      press[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, press, sizeof(INPUT));
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  static void clickAt(POINT at, DWORD down, DWORD up) {
    SetCursorPos(at.x, at.y);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].mi.dwFlags = up;
    SendInput(2, inputs, sizeof(INPUT));
  }

  TempFolder folder;
  TempFolder elsewhere;
  std::filesystem::path programFolder;
  PROCESS_INFORMATION process{};
};

TEST_F(Program, LoadsARelativeStoredPathFromItsOwnFolderAndEndsWithZero) {
  std::filesystem::create_directory(folder / "data");
  MakeYungengxinDatabase(CorePath(folder / "data" / "lwdiskless.db"),
                         {{"PC01", "00-00-00-00-00-01"}, {"PC02", "00-00-00-00-00-02"}, {"PC03", "00"}});
  WriteIniValue(PathOf(folder / "config.ini"), "config", "data", "data\\lwdiskless.db");
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

// The program in a folder whose name GBK cannot write, as under the user
// folder C:\Users\Jörg: it finds its config.ini there and the database the
// stored path names, and saves config.ini there again.
TEST_F(Program, KeepsItsSettingsInAFolderNamedOutsideGbk) {
  install(folder / Utf8Name("Jörg") / "Venbrook");
  std::filesystem::create_directory(programFolder / "data");
  MakeYungengxinDatabase(PathOf(programFolder / "data" / "lwdiskless.db"), {{"PC01", "00-01"}, {"PC02", "00-02"}});
  WriteBytes(programFolder / "config.ini", "[config]\r\ndata=data\\lwdiskless.db\r\n");
  start();
  EXPECT_EQ(rowsShown(), 2);
  close();
  EXPECT_EQ(ReadBytes(programFolder / "config.ini").value_or("missing"), "[config]\r\ndata=data\\lwdiskless.db\r\n");
}

// config.ini saved by Notepad as "Unicode" (UTF-16 with its mark), naming a
// database in a folder whose name GBK cannot write: the database is loaded
// at once, and after the program's own saves config.ini is the same UTF-16.
TEST_F(Program, ReadsAndKeepsAUtf16ConfigIni) {
  const std::filesystem::path data = folder / Utf8Name("数据-Jörg");
  std::filesystem::create_directory(data);
  MakeYungengxinDatabase(PathOf(data / "lwdiskless.db"), {{"PC01", "00-01"}, {"PC02", "00-02"}, {"PC03", "00-03"}});
  const std::string unicode = Utf16File(u"[config]\r\ndata=" + PathOf(data / "lwdiskless.db").utf16() + u"\r\n");
  WriteBytes(folder / "config.ini", unicode);
  start();
  EXPECT_EQ(rowsShown(), 3);
  close();
  EXPECT_TRUE(ReadBytes(folder / "config.ini") == unicode);
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

// The program ended inside its load of the stored file at start (killed
// while the mark of that load is there, as a crash would end it): the next
// start loads nothing by itself and says why, and 重载 loads the file.
TEST_F(Program, StartEndedInsideItsLoadIsNotRepeatedUntilReload) {
  constexpr int kMachines = 1000000;
  {
    std::string csv;
    csv.reserve(kMachines * 28);
    char line[40];
    for (int i = 0; i < kMachines; ++i) {
      std::snprintf(line, sizeof line, "PC%07d,00-1A-2B-%02X-%02X-%02X\r\n", i, i >> 16, (i >> 8) & 255, i & 255);
      csv += line;
    }
    WriteBytes(folder / "list.csv", csv);
  }
  WriteIniValue(PathOf(folder / "config.ini"), "config", "data", "list.csv");
  const std::filesystem::path mark = folder / "config.ini.loading";
  start();
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(mark); }, 30));
  kill();
  ASSERT_TRUE(std::filesystem::exists(mark));  // ended inside the load

  start();
  HWND window = WaitForWindow(process.dwProcessId, L"VenbrookMainWindow", true);
  ASSERT_NE(window, nullptr);
  HWND list = FindDescendant(window, WC_LISTVIEWW);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(TextOf(FindById(window, IdOf(ControlId::标签_来源))),
            L"未载入：上次打开 list.csv 时程序意外退出，这次没有自动载入，可按“重载”再试");
  EXPECT_EQ(TextOf(FindById(window, IdOf(ControlId::编辑框_地址))), L"list.csv");

  chooseReload(window, list);
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == kMachines; }, 60));
  close();
  EXPECT_FALSE(std::filesystem::exists(mark));
}

// What Explorer shows of the file: version record, icon sizes, manifest.
TEST(ProgramFile, CarriesItsVersionIconsAndManifest) {
  const std::wstring file = ProgramUnderTest().wstring();
  SCOPED_TRACE(ProgramUnderTest().string());
  DWORD ignored = 0;
  std::vector<char> record(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  ASSERT_FALSE(record.empty());
  ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(record.size()), record.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    return VerQueryValueW(record.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ? std::wstring(value)
                                                                                                  : std::wstring();
  };
  EXPECT_EQ(text(L"FileDescription"), L"支持云更新、网维大师导出成QQ网吧格式");
  EXPECT_EQ(text(L"ProductName"), L"Venbrook");
  EXPECT_EQ(text(L"FileVersion"), L"1.1.0.0");

  HMODULE image = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr);
  HRSRC group = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* directory = static_cast<const WORD*>(LockResource(LoadResource(image, group)));
  ASSERT_EQ(directory[2], 10);  // idCount
  std::vector<int> sizes;
  const auto* entries = reinterpret_cast<const BYTE*>(directory + 3);
  for (int i = 0; i < 10; ++i) {
    const BYTE* entry = entries + i * 14;  // GRPICONDIRENTRY
    sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32);  // bits per pixel
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 72, 80, 96, 128, 256}));
  HRSRC manifest = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const std::string declared(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                             SizeofResource(image, manifest));
  for (const char* entry : {
           "Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
           // Windows 7, 8, 8.1, 10 and 11: no compatibility shims
           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
           // sharp at any scaling: per monitor (v2) on 10 and 11, per monitor or system-wide before
           ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
           "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>"})
    EXPECT_NE(declared.find(entry), std::string::npos) << entry;
  FreeLibrary(image);
}

}  // namespace
}  // namespace venbrook::test
