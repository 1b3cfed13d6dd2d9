#include "app/logged_interface.h"

#include "app/exit_codes.h"
#include "host/application_title.h"

namespace velbor {
namespace {

Text BoxLine(const std::optional<Text>& title, const Text& prompt) {
  Text line(u"Messaggio [");
  line += title.value_or(kApplicationTitle);
  line += u"]: ";
  line += prompt;
  return line;
}

}  // namespace

MessageAnswer LoggedInterface::ShowMessage(const Text& prompt, MessageStyle style,
                                           const std::optional<Text>& title) {
  log_.Write(BoxLine(title, prompt));
  if (unattended_ == nullptr) return screen_.ShowMessage(prompt, style, title);
  if (style == MessageStyle::kQuestionYesNo) {
    log_.Write(u"Nessuno risponde: l'installazione si ferma qui.");
    unattended_->End(kExitTryLater);
    return MessageAnswer::kYes;
  }
  return MessageAnswer::kOk;
}

Text LoggedInterface::AskText(const Text& prompt, const Text& title, const Text& defaultText) {
  Text line(u"Richiesta [");
  line += title;
  line += u"]: ";
  line += prompt;
  line += u" (proposta: ";
  line += defaultText;
  line += u')';
  log_.Write(line);
  if (unattended_ != nullptr) {
    log_.Write(u"Nessuno risponde: l'elemento non viene installato.");
    return Text();
  }
  Text answer = screen_.AskText(prompt, title, defaultText);
  log_.Write(answer.empty() ? Text(u"Risposta: annullato") : u"Risposta: " + answer);
  return answer;
}

void LoggedInterface::EndProgram() {
  if (unattended_ != nullptr) {
    unattended_->End(unattended_->FailedForGood() ? kExitFailed : kExitInstalled);
    return;
  }
  LogEnd(log_, kExitInstalled);
  screen_.EndProgram();
}

void LoggedInterface::EndFailedProgram() {
  if (unattended_ != nullptr) {
    unattended_->End(kExitFailed);
    return;
  }
  LogEnd(log_, kExitFailed);
  screen_.EndFailedProgram();
}

}  // namespace velbor
