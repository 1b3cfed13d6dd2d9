#pragma once

#include <cstdint>
#include <optional>

#include "host/text.h"

namespace velbor {

// Styles of a message box: the buttons plus the icon.
namespace message_style {
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kError = 16;
inline constexpr std::int32_t kQuestionYesNo = 36;
inline constexpr std::int32_t kWarning = 48;
inline constexpr std::int32_t kInformation = 64;
}  // namespace message_style

// Buttons a message box answers with.
namespace message_answer {
inline constexpr std::int32_t kOk = 1;
inline constexpr std::int32_t kYes = 6;
inline constexpr std::int32_t kNo = 7;
}  // namespace message_answer

// What the user sees and answers, and the life of the program itself.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A modal message box; answers the button pressed. Without a title the box shows
  // the application's title.
  virtual std::int32_t ShowMessage(const Text& prompt, std::int32_t style,
                                   const std::optional<Text>& title) = 0;

  // A modal prompt whose text field starts at `defaultText`; answers the text
  // typed, or the empty text when the user cancels.
  virtual Text AskText(const Text& prompt, const Text& title, const Text& defaultText) = 0;

  // Handles the window messages that are pending, once.
  virtual void PumpMessages() = 0;

  // Closes the window and ends the process at once.
  virtual void EndProgram() = 0;

  // Sets the application's mouse pointer back to the default arrow.
  virtual void ResetMousePointer() = 0;
};

}  // namespace velbor
