#include "bench/completion_answering_ui.h"

namespace velbor::bench {

MessageAnswer CompletionAnsweringUi::ShowMessage(const Text& prompt, MessageStyle style,
                                                 const std::optional<Text>& title) {
  if (prompt == u"Aggiornamento terminato!") {
    ++completions_;
    return MessageAnswer::kOk;
  }
  return real_.ShowMessage(prompt, style, title);
}

Text CompletionAnsweringUi::AskText(const Text& prompt, const Text& title,
                                    const Text& defaultText) {
  return real_.AskText(prompt, title, defaultText);
}

void CompletionAnsweringUi::PumpMessages() { real_.PumpMessages(); }

void CompletionAnsweringUi::EndProgram() { real_.EndProgram(); }

void CompletionAnsweringUi::EndFailedProgram() { real_.EndFailedProgram(); }

void CompletionAnsweringUi::ResetMousePointer() { real_.ResetMousePointer(); }

}  // namespace velbor::bench
