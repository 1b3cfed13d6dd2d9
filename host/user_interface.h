#pragma once

#include <cstdint>
#include <optional>

#include "host/text.h"

namespace velbor {

// Styles of a message box: the buttons plus the icon, as the system's numbers.
enum class MessageStyle : std::int32_t {
  kOk = 0,
  kError = 16,
  kQuestionYesNo = 36,
  kWarning = 48,
  kInformation = 64,
};

// Buttons a message box answers with, as the system's numbers.
enum class MessageAnswer : std::int32_t { kOk = 1, kYes = 6, kNo = 7 };

// What the user sees and answers, and the life of the program itself.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A modal message box; answers the button pressed. Without a title the box shows
  // the application's title.
  virtual MessageAnswer ShowMessage(const Text& prompt, MessageStyle style,
                                    const std::optional<Text>& title) = 0;

  // A modal prompt whose text field starts at `defaultText`; answers the text
  // typed, or the empty text when the user cancels.
  virtual Text AskText(const Text& prompt, const Text& title, const Text& defaultText) = 0;

  // Handles the window messages that are pending, once.
  virtual void PumpMessages() = 0;

  // Closes the window and ends the process at once.
  virtual void EndProgram() = 0;

  // The same, telling whoever started the program that it failed (1603).
  virtual void EndFailedProgram() = 0;

  // Sets the application's mouse pointer back to the default arrow.
  virtual void ResetMousePointer() = 0;
};

}  // namespace velbor
