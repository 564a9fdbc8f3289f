#include "support/fake_window.h"

#include <algorithm>

namespace venbrook::test {

int FakeWindow::count(std::string_view eventPrefix) const {
  return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const std::string& event) {
    return std::string_view(event).substr(0, eventPrefix.size()) == eventPrefix;
  }));
}

void FakeWindow::typePath(const Path& exact) {
  shown_ = exact;
  path = shownText_ = exact.gbkShown();
}

Path FakeWindow::pathText() const { return path == shownText_ ? shown_ : Path::FromGbk(path); }

void FakeWindow::setCaption(std::string_view text) {
  caption = text;
  events.push_back("caption:" + caption);
}

void FakeWindow::setStatusText(int part, std::string_view text) {
  status[part] = text;
  events.push_back("status" + std::to_string(part) + ":" + status[part]);
  if (part == 0 && afterTotalCounter) afterTotalCounter();
}

void FakeWindow::setSourceText(const MessageText& text) {
  sourceText = text;
  source = text.words + text.file.gbkShown() + text.wordsAfter;
}

void FakeWindow::showPathText(const Path& shown) {
  typePath(shown);
  events.push_back("show:" + path);
}

void FakeWindow::showMessage(const MessageText& text, MessageIcon icon) {
  messages.push_back(text);
  events.push_back((icon == MessageIcon::Error ? "error:" : "info:") + text.words + text.file.gbkShown());
}

std::optional<Path> FakeWindow::chooseFile(const OpenFileRequest& request) {
  events.push_back("dialog");
  dialogs.push_back({request.filter, request.initialFolder.gbkShown(), request.fileName.gbkShown()});
  if (dialogAnswers.empty()) return std::nullopt;
  std::optional<GivenPath> answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  if (!answer) return std::nullopt;
  return answer->path;
}

MenuCommand FakeWindow::popUpMenu() {
  events.push_back("menu");
  if (menuChoices.empty()) return MenuCommand::None;
  const MenuCommand choice = menuChoices.front();
  menuChoices.pop_front();
  return choice;
}

std::optional<Numbering> FakeWindow::askNumbering(const Numbering& defaults) {
  events.push_back("numbering");
  numberings.push_back(defaults);
  if (numberingAnswers.empty()) return std::nullopt;
  const Numbering answer = numberingAnswers.front();
  numberingAnswers.pop_front();
  return answer;
}

}  // namespace venbrook::test
