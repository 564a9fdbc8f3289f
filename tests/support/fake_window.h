#pragma once
// The main window as the commands see it, with the modal parts scripted:
// the file dialog and the pop-up menu answer from queues, message boxes are
// only recorded. Every call the core makes is logged in order.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "commands/window_port.h"

namespace venbrook::test {

class FakeWindow final : public WindowPort {
 public:
  // The path box and the three rename boxes, as the operator left them.
  std::string path;
  RenameRule rule;

  // Answers: a path, or nullopt for Cancel; the menu item chosen. An empty
  // queue cancels the dialog and dismisses the menu.
  std::deque<std::optional<std::string>> dialogAnswers;
  std::deque<MenuCommand> menuChoices;

  // What the core did, in order: "caption:", "status0:", "status1:",
  // "info:", "error:" and "show:" followed by the text (GBK), "dialog",
  // "menu". The source label, set by every load that reads a file, is only
  // kept in `source`.
  std::vector<std::string> events;
  std::vector<OpenFileRequest> dialogs;
  std::string caption;
  std::string status[2];
  std::string source;  // the source label

  // Called after each update of the total counter; every completed load
  // makes one.
  std::function<void()> afterTotalCounter;

  int count(std::string_view eventPrefix) const;

  std::string pathText() const override { return path; }
  RenameRule renameRule() const override { return rule; }
  void setCaption(std::string_view text) override;
  void setStatusText(int part, std::string_view text) override;
  void setSourceText(std::string_view text) override;
  void showPathText(std::string_view text) override;
  void showMessage(std::string_view text, MessageIcon icon) override;
  std::optional<std::string> chooseFile(const OpenFileRequest& request) override;
  MenuCommand popUpMenu() override;
};

}  // namespace venbrook::test
