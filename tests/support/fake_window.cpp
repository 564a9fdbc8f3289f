#include "support/fake_window.h"

#include <algorithm>

namespace venbrook::test {

int FakeWindow::count(std::string_view eventPrefix) const {
  return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const std::string& event) {
    return std::string_view(event).substr(0, eventPrefix.size()) == eventPrefix;
  }));
}

void FakeWindow::setCaption(std::string_view text) {
  caption = text;
  events.push_back("caption:" + caption);
}

void FakeWindow::setStatusText(int part, std::string_view text) {
  status[part] = text;
  events.push_back("status" + std::to_string(part) + ":" + status[part]);
  if (part == 0 && afterTotalCounter) afterTotalCounter();
}

void FakeWindow::setSourceText(std::string_view text) {
  source = text;
}

void FakeWindow::showPathText(std::string_view text) {
  path = text;
  events.push_back("show:" + path);
}

void FakeWindow::showMessage(std::string_view text, MessageIcon icon) {
  events.push_back((icon == MessageIcon::Error ? "error:" : "info:") + std::string(text));
}

std::optional<std::string> FakeWindow::chooseFile(const OpenFileRequest& request) {
  events.push_back("dialog");
  dialogs.push_back(request);
  if (dialogAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  return answer;
}

MenuCommand FakeWindow::popUpMenu() {
  events.push_back("menu");
  if (menuChoices.empty()) return MenuCommand::None;
  const MenuCommand choice = menuChoices.front();
  menuChoices.pop_front();
  return choice;
}

}  // namespace venbrook::test
