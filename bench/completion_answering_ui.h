#pragma once

#include <cstdint>

#include "host/user_interface.h"

namespace velbor::bench {

// The real user interface, except that the completion box is answered with OK
// without being shown: a timed pass must not wait for anyone. Every other box
// goes to the real interface, where nobody answers it, so it shows.
class CompletionAnsweringUi final : public UserInterface {
 public:
  explicit CompletionAnsweringUi(UserInterface& real) : real_(real) {}

  MessageAnswer ShowMessage(const Text& prompt, MessageStyle style,
                            const std::optional<Text>& title) override;
  Text AskText(const Text& prompt, const Text& title, const Text& defaultText) override;
  void PumpMessages() override;
  void EndProgram() override;
  void EndFailedProgram() override;
  void ResetMousePointer() override;

  // How many completion boxes were answered.
  int Completions() const { return completions_; }

 private:
  UserInterface& real_;
  int completions_ = 0;
};

}  // namespace velbor::bench
