#pragma once

#include "app/install_log.h"
#include "app/unattended_run.h"
#include "host/user_interface.h"

namespace velbor {

// The user interface as the installer's logic meets it: every box and prompt is
// written to the log with its title. At the desktop (no unattended run) each is
// then shown on `screen` as before. In an unattended run nothing is shown: a box
// is taken as answered with OK, a prompt as cancelled, a question (the only one
// asks whether to stop retrying) ends the run with 1618, and the end of the
// program ends the run with 0, or with 1603 when it fails.
class LoggedInterface final : public UserInterface {
 public:
  LoggedInterface(UserInterface& screen, const InstallLog& log, UnattendedRun* unattended)
      : screen_(screen), log_(log), unattended_(unattended) {}

  MessageAnswer ShowMessage(const Text& prompt, MessageStyle style,
                            const std::optional<Text>& title) override;
  Text AskText(const Text& prompt, const Text& title, const Text& defaultText) override;
  void PumpMessages() override { screen_.PumpMessages(); }
  void EndProgram() override;
  void EndFailedProgram() override;
  void ResetMousePointer() override { screen_.ResetMousePointer(); }

 private:
  UserInterface& screen_;
  const InstallLog& log_;
  UnattendedRun* unattended_;
};

}  // namespace velbor
