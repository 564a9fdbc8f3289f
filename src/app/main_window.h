#pragma once
// The program's one window: builds the controls from the layout table,
// turns their messages into commands, and shows the machine list.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/control_ids.h"
#include "app/layout.h"
#include "app/list_check_view.h"
#include "app/machine_list_view.h"
#include "app/modals.h"
#include "app/name_editor.h"
#include "app/window_fonts.h"
#include "commands/commands.h"
#include "commands/window_port.h"

namespace venbrook {

class MainWindow final : public WindowPort {
 public:
  MainWindow(Modals& modals, MachineList& list, SourceConnection& connection, const Path& programDirectory,
             ExportPlace exportPlace);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Builds the window hidden, raises its created event, then shows it with
  // `showCommand` if it still exists. False when it could not be built.
  bool open(int showCommand);

  // From then on, destroying the window ends the message loop.
  void endLoopOnClose() { endLoopOnClose_ = true; }

  // Keyboard handling before a message reaches the focused control: Esc
  // closes the window, Tab and Shift+Tab walk the tab stops; the edit box
  // over a row's new name keeps every key for itself. True when the message
  // has been dealt with.
  bool preTranslate(MSG& message);

  HWND handle() const { return window_; }
  HWND control(ControlId id) const;
  HMENU menu() const { return menu_; }
  Commands& commands() { return *commands_; }
  const NameEditor& nameEditor() const { return *nameEditor_; }

  // WindowPort
  Path pathText() const override;
  void showPathText(const Path& path) override;
  RenameRule renameRule() const override;
  void setCaption(std::string_view text) override;
  void setStatusText(int part, std::string_view text) override;
  void setSourceText(const MessageText& text) override;
  void loadBegins() override;
  void loadEnds() override;
  void showMessage(const MessageText& text, MessageIcon icon) override;
  std::optional<Path> chooseFile(const OpenFileRequest& request) override;
  MenuCommand popUpMenu() override;
  void editFocusedName() override;
  std::optional<Numbering> askNumbering(const Numbering& defaults) override;

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  bool build();
  void buildMenu();
  void buildNameEditor();
  void greyMenuItems();
  HFONT fontOf(ControlId id) const;
  void setStatusParts();
  void onDpiChanged(int dpi, const RECT& suggested);
  void onCommand(int id, int code);
  LRESULT onNotify(const NMHDR& header);
  LRESULT onColorStatic(HDC dc, HWND control);
  std::wstring wideTextOf(ControlId id) const;
  std::string textOf(ControlId id) const;

  Modals& modals_;
  MachineList& list_;
  std::unique_ptr<Commands> commands_;
  std::unique_ptr<MachineListView> listView_;
  std::unique_ptr<ListCheckView> listCheck_;
  std::unique_ptr<NameEditor> nameEditor_;
  HWND window_ = nullptr;
  std::array<HWND, layout::kControlCount> controls_{};
  HMENU menu_ = nullptr;
  int dpi_ = 96;
  WindowFonts fonts_;
  HBRUSH faceBrush_ = nullptr;
  bool showingPath_ = false;
  bool endLoopOnClose_ = false;
  int loadsRunning_ = 0;
  bool waitCursorShown_ = false;
  HCURSOR cursorBeforeLoad_ = nullptr;
};

}  // namespace venbrook
