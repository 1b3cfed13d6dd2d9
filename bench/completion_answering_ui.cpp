#include "bench/completion_answering_ui.h"

namespace velbor::bench {

std::int32_t CompletionAnsweringUi::ShowMessage(const Text& prompt, std::int32_t style,
                                                const std::optional<Text>& title) {
  if (prompt == u"Aggiornamento terminato!") {
    ++completions_;
    return message_answer::kOk;
  }
  return real_.ShowMessage(prompt, style, title);
}

Text CompletionAnsweringUi::AskText(const Text& prompt, const Text& title,
                                    const Text& defaultText) {
  return real_.AskText(prompt, title, defaultText);
}

void CompletionAnsweringUi::PumpMessages() { real_.PumpMessages(); }

void CompletionAnsweringUi::EndProgram() { real_.EndProgram(); }

void CompletionAnsweringUi::ResetMousePointer() { real_.ResetMousePointer(); }

}  // namespace velbor::bench
