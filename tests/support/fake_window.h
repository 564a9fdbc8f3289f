#pragma once
// The main window as the commands see it, with the modal parts scripted:
// the file dialog and the pop-up menu answer from queues, message boxes are
// only recorded. Every call the core makes is logged in order.
//
// Paths cross the seam as `Path`s; the fake shows them to the tests in GBK,
// the form the tests write paths in, and keeps the exact path beside that
// for paths that hold characters GBK lacks.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/window_port.h"
#include "support/test_paths.h"

namespace venbrook::test {

class FakeWindow final : public WindowPort {
 public:
  // The path box, as the operator left it (GBK). After the core shows a
  // path the box holds exactly that path, until a test sets another here.
  std::string path;
  RenameRule rule;

  // Answers: a path, or nullopt for Cancel; the menu item chosen. An empty
  // queue cancels the dialog and dismisses the menu.
  std::deque<std::optional<GivenPath>> dialogAnswers;
  std::deque<MenuCommand> menuChoices;
  // The 编号… dialog's answers, taken in turn; empty: cancel. `numberings`
  // keeps the defaults each was shown.
  std::deque<Numbering> numberingAnswers;
  std::vector<Numbering> numberings;

  // What the core did, in order: "caption:", "status0:", "status1:",
  // "info:", "error:" and "show:" followed by the text (GBK; a path in it
  // with '?' for a character GBK lacks), "dialog", "menu", "edit" (the edit
  // box opened over the focused row's new name), "numbering". The source label,
  // set by every load that reads a file, is only kept: in `source` (GBK,
  // likewise) and exactly in `sourceText`.
  std::vector<std::string> events;
  std::vector<DialogRequest> dialogs;
  std::vector<MessageText> messages;  // exactly as shown
  std::string caption;
  std::string status[2];
  std::string source;
  MessageText sourceText;

  // Called after each update of the total counter; every completed load
  // makes one.
  std::function<void()> afterTotalCounter;

  // Loads begun and ended: the window shows it is busy while they differ.
  int loadsBegun = 0, loadsEnded = 0;

  int count(std::string_view eventPrefix) const;
  // The operator types or pastes `exact` into the path box (no event).
  void typePath(const Path& exact);

  Path pathText() const override;
  RenameRule renameRule() const override { return rule; }
  void setCaption(std::string_view text) override;
  void setStatusText(int part, std::string_view text) override;
  void setSourceText(const MessageText& text) override;
  void loadBegins() override { ++loadsBegun; }
  void loadEnds() override { ++loadsEnded; }
  void showPathText(const Path& shown) override;
  void showMessage(const MessageText& text, MessageIcon icon) override;
  std::optional<Path> chooseFile(const OpenFileRequest& request) override;
  MenuCommand popUpMenu() override;
  void editFocusedName() override { events.push_back("edit"); }
  std::optional<Numbering> askNumbering(const Numbering& defaults) override;

 private:
  Path shown_;             // the path last shown
  std::string shownText_;  // and what `path` then held
};

}  // namespace venbrook::test
