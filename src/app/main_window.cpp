#include "app/main_window.h"

#include <commctrl.h>

#include <algorithm>

#include "app/dpi.h"
#include "app/fatal_error.h"
#include "app/layout.h"
#include "model/text_codec.h"
#include "platform/win32/wide_text.h"

namespace venbrook {
namespace {

using win32::Narrow;
using win32::Widen;

constexpr wchar_t kClassName[] = L"VenbrookMainWindow";
constexpr int kAppIconId = 1;

// Posted by the list's click notifications so the counter is refreshed after
// the click has settled the selection (some list views notify first).
constexpr UINT kListLeftClicked = WM_APP + 1;
constexpr UINT kListRightClicked = WM_APP + 2;

const wchar_t* ClassOf(layout::Kind kind) {
  switch (kind) {
    case layout::Kind::Edit: return WC_EDITW;
    case layout::Kind::Label: return WC_STATICW;
    case layout::Kind::Button:
    case layout::Kind::GroupBox: return WC_BUTTONW;
    case layout::Kind::List: return WC_LISTVIEWW;
    case layout::Kind::StatusBar: return STATUSCLASSNAMEW;
  }
  return WC_STATICW;
}

int Modifiers() {
  return (GetKeyState(VK_CONTROL) < 0 ? kCtrl : 0) | (GetKeyState(VK_SHIFT) < 0 ? kShift : 0) |
         (GetKeyState(VK_MENU) < 0 ? kAlt : 0);
}

// A control's place at `dpi`: left and top in `left` and `top`, width and
// height in `right` and `bottom`.
RECT ScaledPlace(const layout::Control& entry, int dpi) {
  return {dpi::Scale(entry.left, dpi), dpi::Scale(entry.top, dpi), dpi::Scale(entry.width, dpi),
          dpi::Scale(entry.height, dpi)};
}

bool RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, kClassName, &windowClass)) return true;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

MainWindow::MainWindow(Modals& modals, MachineList& list, SourceConnection& connection,
                       const Path& programDirectory, ExportPlace exportPlace)
    : modals_(modals),
      list_(list),
      commands_(std::make_unique<Commands>(*this, list, connection, programDirectory, std::move(exportPlace))) {}

MainWindow::~MainWindow() {
  nameEditor_.reset();
  listView_.reset();
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (menu_ != nullptr) DestroyMenu(menu_);
  if (faceBrush_ != nullptr) DeleteObject(faceBrush_);
}

bool MainWindow::open(int showCommand) {
  if (!build()) return false;
  commands_->windowCreated();
  if (window_ == nullptr || !IsWindow(window_)) return true;
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  return true;
}

HWND MainWindow::control(ControlId id) const { return controls_[layout::SlotOf(id)]; }

bool MainWindow::build() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass(instance)) return false;
  window_ = CreateWindowExW(0, kClassName, layout::kCaption, layout::kWindowStyle, 0, 0, layout::kWindowWidth,
                            layout::kWindowHeight, nullptr, nullptr, instance, nullptr);
  if (window_ == nullptr) return false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedure));

  // Sized and centred at the DPI of the monitor it was made on.
  dpi_ = dpi::OfWindow(window_);
  const int width = dpi::Scale(layout::kWindowWidth, dpi_);
  const int height = dpi::Scale(layout::kWindowHeight, dpi_);
  // Never above or left of the screen, where the caption could not be reached.
  const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  faceBrush_ = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  fonts_.makeFor(dpi_);

  auto make = [&](const layout::Control& entry) {
    HWND parent = entry.parent == layout::Parent::Window ? window_ : control(ControlId::分组框1);
    const RECT place = ScaledPlace(entry, dpi_);
    HWND made = CreateWindowExW(entry.exStyle, ClassOf(entry.kind), entry.text, entry.style, place.left, place.top,
                                place.right, place.bottom, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(entry.id))), instance, nullptr);
    if (made == nullptr) return false;
    controls_[layout::SlotOf(entry.id)] = made;
    SetWindowPos(made, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(entry.id)), FALSE);
    if (entry.kind == layout::Kind::Edit) SendMessageW(made, EM_SETLIMITTEXT, 0, 0);  // no length limit
    return true;
  };
  // The group box holds the others, so it comes first.
  for (const layout::Control& entry : layout::kControls)
    if (entry.id == ControlId::分组框1 && !make(entry)) return false;
  for (const layout::Control& entry : layout::kControls)
    if (entry.id != ControlId::分组框1 && !make(entry)) return false;
  SetWindowTextW(control(ControlId::编辑框1), layout::kHelpText);

  HWND status = control(ControlId::状态条1);
  setStatusParts();
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(layout::kTotalCounterInitial));
  SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L""));

  listCheck_ = std::make_unique<ListCheckView>(control(ControlId::标签_检查), list_);
  listView_ = std::make_unique<MachineListView>(control(ControlId::超级列表框1), list_);
  listView_->addColumns(dpi_);
  listView_->onRowsChanged([this] { listCheck_->rowsChanged(); });
  buildMenu();
  buildNameEditor();

  // The group box passes its children's notifications on; the list and the
  // help box get their keys and clicks here first.
  for (ControlId id : {ControlId::分组框1, ControlId::超级列表框1, ControlId::编辑框1})
    SetWindowSubclass(control(id), &ControlProcedure, static_cast<UINT_PTR>(IdOf(id)),
                      reinterpret_cast<DWORD_PTR>(this));
  return true;
}

HFONT MainWindow::fontOf(ControlId id) const { return id == ControlId::编辑框1 ? fonts_.help() : fonts_.gui(); }

void MainWindow::setStatusParts() {
  int edges[std::size(layout::kStatusParts)];
  for (std::size_t i = 0; i < std::size(edges); ++i)
    edges[i] = layout::kStatusParts[i] < 0 ? -1 : dpi::Scale(layout::kStatusParts[i], dpi_);
  SendMessageW(control(ControlId::状态条1), SB_SETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges));
}

// The window moved to a monitor of another DPI, or the scaling changed: the
// window takes the rectangle Windows suggests, and every control its place
// and font at the new DPI. Texts, rows and selection stay as they are.
void MainWindow::onDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  fonts_.makeFor(dpi_);
  for (const layout::Control& entry : layout::kControls) {
    HWND target = control(entry.id);
    SendMessageW(target, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(entry.id)), FALSE);
    if (entry.kind == layout::Kind::StatusBar) continue;  // docked: it follows the window
    const RECT place = ScaledPlace(entry, dpi_);
    SetWindowPos(target, nullptr, place.left, place.top, place.right, place.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  nameEditor_->end();  // its font and place were the old DPI's
  listView_->setColumnWidths(dpi_);
  setStatusParts();
  SendMessageW(control(ControlId::状态条1), WM_SIZE, 0, 0);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::buildMenu() {
  menu_ = CreatePopupMenu();
  for (const layout::MenuItem& item : layout::kMenu) {
    if (item.caption == nullptr) AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
    else AppendMenuW(menu_, MF_STRING, static_cast<UINT_PTR>(IdOf(item.id)), item.caption);
  }
}

// The list's edit box for new names, and the check's words for the names
// typed.
void MainWindow::buildNameEditor() {
  nameEditor_ = std::make_unique<NameEditor>(control(ControlId::超级列表框1), list_,
                                             [this](int row, std::string_view name) {
                                               return commands_->nameTyped(row, name);
                                             });
  listCheck_->onNamesNote([this] { return commands_->typedNamesNote(); });
}

// An item that needs a row is greyed without one.
void MainWindow::greyMenuItems() {
  for (const layout::MenuItem& item : layout::kMenu) {
    if (item.caption == nullptr) continue;
    bool enabled = true;
    switch (item.needs) {
      case layout::MenuNeeds::Nothing: break;
      case layout::MenuNeeds::RowToEdit: enabled = nameEditor_->rowToEdit() >= 0; break;
      case layout::MenuNeeds::SelectedRow: enabled = list_.selectedCount() > 0; break;
    }
    EnableMenuItem(menu_, static_cast<UINT>(IdOf(item.id)), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

bool MainWindow::preTranslate(MSG& message) {
  if (window_ == nullptr) return false;
  if (nameEditor_ != nullptr && nameEditor_->owns(message.hwnd)) return false;
  const bool ours = message.hwnd == window_ || IsChild(window_, message.hwnd);
  if (!ours) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return true;
  }
  return IsDialogMessageW(window_, &message) != 0;
}

LRESULT CALLBACK MainWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return self->handle(window, message, wParam, lParam);
  } catch (...) {
    ReportFatalFromCurrentException();
  }
}

LRESULT MainWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_NOTIFY: return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC: return onColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SIZE: SendMessageW(control(ControlId::状态条1), WM_SIZE, 0, 0); return 0;
    case WM_DPICHANGED: onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case kListLeftClicked: commands_->listLeftClicked(); return 0;
    case kListRightClicked: commands_->listRightClicked(); return 0;
    case WM_DESTROY:
      window_ = nullptr;
      if (endLoopOnClose_) PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

void MainWindow::onCommand(int id, int code) {
  switch (static_cast<ControlId>(id)) {
    case ControlId::编辑框_地址:
      if (code == EN_CHANGE && !showingPath_) commands_->pathEdited();
      break;
    case ControlId::编辑框_前缀:
    case ControlId::编辑框_新字符:
      if (code == EN_CHANGE) commands_->renameBoxEdited();
      break;
    case ControlId::按钮1:
      if (code == BN_CLICKED) commands_->changeClicked();
      break;
    case ControlId::按钮_导出:
      if (code == BN_CLICKED) commands_->exportChosen();
      break;
    default: break;
  }
}

LRESULT MainWindow::onNotify(const NMHDR& header) {
  if (header.idFrom != static_cast<UINT_PTR>(IdOf(ControlId::超级列表框1))) return 0;
  switch (header.code) {
    case NM_CLICK: PostMessageW(window_, kListLeftClicked, 0, 0); return 0;
    case NM_RCLICK: PostMessageW(window_, kListRightClicked, 0, 0); return 0;
    case NM_CUSTOMDRAW: return listCheck_->customDraw(header);
    case LVN_GETINFOTIPW: return listCheck_->infoTip(header);
    default: {
      LRESULT result = 0;
      listView_->handleNotify(header, result);
      return result;
    }
  }
}

LRESULT MainWindow::onColorStatic(HDC dc, HWND control) {
  if (control == this->control(ControlId::标签_检查)) return listCheck_->colorSummary(dc, faceBrush_);
  SetTextColor(dc, RGB(0, 0, 0));
  // Opaque: a new text never lies over the old one.
  if (control == this->control(ControlId::编辑框1) || control == this->control(ControlId::标签_来源)) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(faceBrush_);
  }
  const int id = GetDlgCtrlID(control);
  if (layout::IsLabel(static_cast<ControlId>(id))) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(faceBrush_);
}

LRESULT CALLBACK MainWindow::ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR subclass, DWORD_PTR self) {
  // The control's last message: it goes, and our subclass with it.
  if (message == WM_NCDESTROY) RemoveWindowSubclass(control, &ControlProcedure, subclass);
  try {
    bool handled = false;
    const LRESULT result = reinterpret_cast<MainWindow*>(self)->handleControl(control, message, wParam, lParam, handled);
    return handled ? result : DefSubclassProc(control, message, wParam, lParam);
  } catch (...) {
    ReportFatalFromCurrentException();
  }
}

LRESULT MainWindow::handleControl(HWND target, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  const auto id = static_cast<ControlId>(GetDlgCtrlID(target));
  if (id == ControlId::分组框1) {
    switch (message) {
      case WM_ERASEBKGND: {
        // A group box paints only its frame; the labels draw over this.
        RECT area{};
        GetClientRect(target, &area);
        FillRect(reinterpret_cast<HDC>(wParam), &area, faceBrush_);
        handled = true;
        return TRUE;
      }
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORBTN:
        handled = true;
        return window_ ? SendMessageW(window_, message, wParam, lParam) : 0;
      default: return 0;
    }
  }
  if (id == ControlId::编辑框1 && message == WM_GETDLGCODE) {
    // Tab leaves the help box as it leaves every other control.
    handled = true;
    return DefSubclassProc(target, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
  }
  if (id == ControlId::超级列表框1) {
    if (message == WM_LBUTTONDBLCLK) commands_->listDoubleClicked();
    if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) &&
        commands_->listKeyPressed(static_cast<int>(wParam), Modifiers())) {
      handled = true;
      return 0;
    }
  }
  return 0;
}

std::wstring MainWindow::wideTextOf(ControlId id) const {
  HWND box = control(id);
  const int length = GetWindowTextLengthW(box);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(box, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

std::string MainWindow::textOf(ControlId id) const { return Narrow(wideTextOf(id)); }

Path MainWindow::pathText() const { return win32::PathFromWide(wideTextOf(ControlId::编辑框_地址)); }

void MainWindow::showPathText(const Path& path) {
  showingPath_ = true;
  SetWindowTextW(control(ControlId::编辑框_地址), win32::WidePath(path).c_str());
  showingPath_ = false;
}

RenameRule MainWindow::renameRule() const {
  return {textOf(ControlId::编辑框_前缀), textOf(ControlId::编辑框_原字符), textOf(ControlId::编辑框_新字符)};
}

void MainWindow::setCaption(std::string_view text) { SetWindowTextW(window_, Widen(text).c_str()); }

void MainWindow::setStatusText(int part, std::string_view text) {
  SendMessageW(control(ControlId::状态条1), SB_SETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void MainWindow::setSourceText(const MessageText& text) {
  SetWindowTextW(control(ControlId::标签_来源), ShownText(text).c_str());
}

// The wait cursor for as long as the load runs: nothing the window does
// meanwhile asks for another (no message is handled until the load ends).
// Only over our own window: the cursor over another program's belongs to it.
void MainWindow::loadBegins() {
  if (loadsRunning_++ > 0 || window_ == nullptr) return;
  POINT at{};
  if (!GetCursorPos(&at)) return;
  const HWND under = WindowFromPoint(at);
  if (under != window_ && !IsChild(window_, under)) return;
  cursorBeforeLoad_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  waitCursorShown_ = true;
}

void MainWindow::loadEnds() {
  if (--loadsRunning_ > 0 || !waitCursorShown_) return;
  waitCursorShown_ = false;
  SetCursor(cursorBeforeLoad_);
}

void MainWindow::showMessage(const MessageText& text, MessageIcon icon) {
  modals_.messageBox(Gbk("提示："), text, icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
}

std::optional<Path> MainWindow::chooseFile(const OpenFileRequest& request) {
  return modals_.openFile(window_, request);
}

MenuCommand MainWindow::popUpMenu() {
  POINT at{};
  GetCursorPos(&at);
  at.x += dpi::Scale(layout::kMenuOffset, dpi_);
  at.y += dpi::Scale(layout::kMenuOffset, dpi_);
  greyMenuItems();
  return layout::CommandOf(modals_.trackPopupMenu(menu_, at, window_));
}

void MainWindow::editFocusedName() { nameEditor_->open(nameEditor_->rowToEdit(), fonts_.gui()); }

std::optional<Numbering> MainWindow::askNumbering(const Numbering& defaults) {
  return modals_.askNumbering(window_, defaults, dpi_, fonts_.gui());
}

}  // namespace venbrook
