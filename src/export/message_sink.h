#pragma once
#include <string_view>

namespace venbrook {

enum class MessageIcon { Information, Error };

// The operator's message box: title "提示：", one OK button, task-modal.
// Texts are GBK.
class MessageSink {
 public:
  virtual void showMessage(std::string_view text, MessageIcon icon) = 0;

 protected:
  ~MessageSink() = default;
};

}  // namespace venbrook
