#include "win32/window_driver.h"

#include <fstream>

#include "app/number_dialog.h"

#include "platform/win32/wide_text.h"
#include "settings/profile_file.h"

namespace venbrook::test {

std::wstring Wide(std::string_view gbk) { return win32::Widen(gbk); }

bool SaveWindowPicture(HWND window, const std::filesystem::path& file) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ former = SelectObject(memory, picture);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
  GdiFlush();
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER header{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  header.bfSize = header.bfOffBits + rowBytes * static_cast<DWORD>(height);
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(rowBytes) * height);
  SelectObject(memory, former);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied && out.good();
}

void RecordingModals::messageBox(std::string_view title, const MessageText& text, UINT icon) {
  boxes.push_back({std::string(title), text.words + text.file.gbkShown() + text.wordsAfter, icon, ShownText(text)});
}

std::optional<Path> RecordingModals::openFile(HWND owner, const OpenFileRequest& request) {
  dialogs.push_back({request.filter, request.initialFolder.gbkShown(), request.fileName.gbkShown()});
  windowVisibleAtDialog.push_back(owner != nullptr && IsWindowVisible(owner));
  if (dialogAnswers.empty()) return std::nullopt;
  const std::optional<GivenPath> answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  if (!answer) return std::nullopt;
  return answer->path;
}

int RecordingModals::trackPopupMenu(HMENU menu, POINT screenPoint, HWND) {
  menuPoints.push_back(screenPoint);
  std::vector<std::wstring> captions;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t caption[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
    captions.emplace_back(caption);
  }
  menusShown.push_back(captions);
  std::vector<bool> greyed;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    greyed.push_back(!(state & MF_SEPARATOR) && (state & MF_GRAYED));
  }
  menusGreyed.push_back(greyed);
  if (menuChoices.empty()) return 0;
  const int choice = menuChoices.front();
  menuChoices.pop_front();
  return choice;
}

namespace {

// The script of the dialog now running, driven from a timer of the thread,
// which the dialog's own message loop runs.
struct RunningScript {
  DialogScript script;
  RecordingModals* modals = nullptr;
  int ticks = 0;
  bool driven = false;
};
RunningScript* running = nullptr;
constexpr UINT kTickMilliseconds = 50;
constexpr int kGiveUpTicks = 200;  // 10 s: a dialog the keys did not close is cancelled

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring_view(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

std::wstring BoxText(HWND dialog, NumberDialogId id) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, IdOf(id), text, 256);
  return text;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (running == nullptr) return;
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  if (++running->ticks > kGiveUpTicks) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  if (running->driven) return;
  running->driven = true;
  ShownDialog shown{BoxText(dialog, NumberDialogId::前缀), BoxText(dialog, NumberDialogId::起始编号),
                    BoxText(dialog, NumberDialogId::位数), GetDlgCtrlID(GetFocus()),
                    static_cast<DWORD>(SendMessageW(GetFocus(), EM_GETSEL, 0, 0))};
  GetWindowRect(dialog, &shown.bounds);
  running->modals->numberingShown.push_back(shown);
  for (const auto& [id, text] : running->script.texts) SetDlgItemTextW(dialog, IdOf(id), text.c_str());
  if (!running->script.picture.empty()) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveWindowPicture(dialog, running->script.picture);
  }
  HWND focus = GetFocus();
  for (const int key : running->script.keys) {
    PostMessageW(focus, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    PostMessageW(focus, WM_KEYUP, static_cast<WPARAM>(key), static_cast<LPARAM>(0xC0000001));
  }
}

}  // namespace

std::optional<Numbering> RecordingModals::askNumbering(HWND owner, const Numbering& defaults, int dpi, HFONT font) {
  numberingDefaults.push_back(defaults);
  if (numberingScripts.empty()) return std::nullopt;
  RunningScript script{numberingScripts.front(), this};
  numberingScripts.pop_front();
  running = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, &DriveDialog);
  std::optional<Numbering> chosen = RunNumberDialog(owner, defaults, dpi, font);
  KillTimer(nullptr, timer);
  running = nullptr;
  return chosen;
}

WindowDriver::WindowDriver(double now, std::string_view desktopName)
    : desktopFolder(desktopName.empty() ? desktop.path() : desktop / Utf8Name(desktopName)), now_(now) {
  std::filesystem::create_directories(desktopFolder);
  makeWindow();
}

void WindowDriver::makeWindow() {
  window = std::make_unique<MainWindow>(
      modals, list, connection, PathOf(program.path()),
      ExportPlace{[exportFolder = PathOf(desktopFolder)] { return exportFolder; }, [this] { return now_; }});
}

bool WindowDriver::restart() {
  window.reset();
  connection.close();
  pump();
  list.clear();
  makeWindow();
  return open();
}

WindowDriver::~WindowDriver() {
  window.reset();
  connection.close();
  pump();
}

void WindowDriver::writeConfig(std::string_view gbkPath) {
  WriteIniValue(PathOf(program / "config.ini"), "config", "data", gbkPath);
}

bool WindowDriver::open() {
  const bool built = window->open(SW_SHOWNORMAL);
  if (window->handle()) SetForegroundWindow(window->handle());
  pump();
  return built;
}

void WindowDriver::pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    if (window && window->preTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::wstring WindowDriver::text(HWND target) const {
  std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(target)) + 1, L'\0');
  buffer.resize(static_cast<std::size_t>(GetWindowTextW(target, buffer.data(), static_cast<int>(buffer.size()))));
  return buffer;
}

std::wstring WindowDriver::status(int part) const {
  HWND bar = control(ControlId::状态条1);
  const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
  std::wstring buffer(length + 1u, L'\0');
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(length);
  return buffer;
}

void WindowDriver::type(ControlId box, std::wstring_view characters) { typeInto(control(box), characters); }

void WindowDriver::typeInto(HWND target, std::wstring_view characters) {
  SetFocus(target);
  for (wchar_t c : characters) SendMessageW(target, WM_CHAR, c, 1);
  pump();
}

HWND WindowDriver::nameBox() const { return FindWindowExW(control(ControlId::超级列表框1), nullptr, WC_EDITW, nullptr); }

void WindowDriver::clearBox(ControlId box) {
  HWND target = control(box);
  SendMessageW(target, EM_SETSEL, 0, -1);
  SendMessageW(target, WM_CHAR, VK_BACK, 1);
  pump();
}

void WindowDriver::click(ControlId button) {
  SendMessageW(control(button), BM_CLICK, 0, 0);
  pump();
}

int WindowDriver::rowCount() const { return ListView_GetItemCount(control(ControlId::超级列表框1)); }

std::wstring WindowDriver::cell(int row, int column) const {
  wchar_t buffer[1024] = {};
  ListView_GetItemText(control(ControlId::超级列表框1), row, column, buffer, 1024);
  return buffer;
}

std::vector<int> WindowDriver::viewSelection() const {
  std::vector<int> rows;
  HWND list = control(ControlId::超级列表框1);
  for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row != -1;
       row = ListView_GetNextItem(list, row, LVNI_SELECTED))
    rows.push_back(row);
  return rows;
}

POINT WindowDriver::rowPoint(int row) const {
  RECT bounds{};
  ListView_GetItemRect(control(ControlId::超级列表框1), row, &bounds, LVIR_BOUNDS);
  return {bounds.left + 20, (bounds.top + bounds.bottom) / 2};
}

void WindowDriver::setModifiers(int modifiers) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = (modifiers & kCtrl) ? 0x80 : 0;
  keys[VK_SHIFT] = (modifiers & kShift) ? 0x80 : 0;
  keys[VK_MENU] = (modifiers & kAlt) ? 0x80 : 0;
  SetKeyboardState(keys);
}

// The list view follows a button press until the button is released, so the
// release is queued first.
void WindowDriver::mouse(UINT down, UINT up, POINT at, int modifiers) {
  HWND list = control(ControlId::超级列表框1);
  setModifiers(modifiers);
  WPARAM keys = (modifiers & kCtrl ? MK_CONTROL : 0) | (modifiers & kShift ? MK_SHIFT : 0);
  const LPARAM where = MAKELPARAM(at.x, at.y);
  SetFocus(list);
  PostMessageW(list, up, keys, where);
  SendMessageW(list, down, keys | (down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON), where);
  pump();
  setModifiers(0);
}

void WindowDriver::clickRow(int row, int modifiers) { mouse(WM_LBUTTONDOWN, WM_LBUTTONUP, rowPoint(row), modifiers); }

void WindowDriver::rightClickRow(int row) { mouse(WM_RBUTTONDOWN, WM_RBUTTONUP, rowPoint(row), 0); }

void WindowDriver::rightClickEmptySpace() { mouse(WM_RBUTTONDOWN, WM_RBUTTONUP, POINT{60, 600}, 0); }

void WindowDriver::doubleClickRow(int row) {
  clickRow(row);
  const POINT at = rowPoint(row);
  HWND list = control(ControlId::超级列表框1);
  PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  pump();
}

void WindowDriver::doubleClickEmptySpace() {
  const POINT at{60, 600};
  mouse(WM_LBUTTONDOWN, WM_LBUTTONUP, at, 0);
  HWND list = control(ControlId::超级列表框1);
  PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  pump();
}

void WindowDriver::pressKeyInList(int virtualKey, int modifiers) {
  pressKey(control(ControlId::超级列表框1), virtualKey, modifiers);
}

void WindowDriver::pressKey(HWND focus, int virtualKey, int modifiers) {
  SetFocus(focus);
  setModifiers(modifiers);
  const UINT down = (modifiers & kAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  const UINT up = (modifiers & kAlt) ? WM_SYSKEYUP : WM_KEYUP;
  PostMessageW(focus, down, static_cast<WPARAM>(virtualKey), 1);
  PostMessageW(focus, up, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(0xC0000001));
  pump();
  setModifiers(0);
}

void WindowDriver::chooseFromMenu(MenuItemId item, int row) {
  modals.menuChoices.push_back(IdOf(item));
  if (row >= 0) rightClickRow(row);
  else rightClickEmptySpace();
}

}  // namespace venbrook::test
