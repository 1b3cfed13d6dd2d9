#include "app/form1.h"

#include <limits>
#include <new>
#include <optional>
#include <utility>

#include "app/install_pass.h"
#include "app/update_summary.h"
#include "host/failure.h"

namespace velbor {
namespace {

// Failed timer passes after which a tick asks whether to stop.
constexpr std::int32_t kAttemptsBeforeAsking = 40;

// Marks a handler as busy for as long as it lives.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

}  // namespace

Form1::Form1(const InstallerHost& host, MainWindow& window, TemplateResolver resolve,
             PayloadCheck& check)
    : host_(host), window_(window), resolve_(std::move(resolve)), check_(check) {}

void Form1::PayloadChecked() {
  // A press that is under way has waited for the verdict itself.
  if (handlerBusy_) return;
  const BusyScope busy(handlerBusy_);
  if (const auto damage = check_.AwaitVerdict({})) Refuse(*damage);
}

bool Form1::PayloadSound() {
  std::optional<PayloadDamage> damage;
  {
    // Shown as a pass is: the wait pointer, the window answering, and a click
    // made meanwhile dropped when the wait ends.
    host_.progress.PassBegins();
    struct WaitEnds {
      PassProgress& progress;
      ~WaitEnds() { progress.PassEnded(); }
    } waitEnds{host_.progress};
    damage = check_.AwaitVerdict([this](std::uint64_t checked, std::uint64_t total) {
      host_.progress.ShowWritten(checked, total);
    });
  }
  if (damage) Refuse(*damage);
  return !damage;
}

void Form1::Refuse(const PayloadDamage& damage) noexcept {
  try {
    host_.ui.ShowMessage(RefusalText(damage), MessageStyle::kError, Text(u"Velbor S.r.l."));
  } catch (...) {
    // The box itself failed; the program still ends without writing anything.
  }
  try {
    host_.ui.EndFailedProgram();
  } catch (...) {
    // Only a scripted host fails here; the window's one never returns.
  }
}

void Form1::cmdAvviaConTimer_Click() {
  if (handlerBusy_) return;
  const BusyScope busy(handlerBusy_);
  try {
    if (!PayloadSound()) return;
  } catch (...) {
    // A check that cannot be waited for is no check: nothing may be written.
    Refuse(PayloadDamage{});
    return;
  }
  attemptCount_ = 0;
  try {
    StartInstallation();
  } catch (const HostFailure& caught) {
    ShowPressError(caught);
  } catch (const std::bad_alloc&) {
    ShowPressError(HostFailure(failure::kOutOfMemory));
  } catch (...) {
    // The message loop that called the handler has no one to give a failure to.
    ShowPressError(HostFailure(failure::kInvalidArgument));
  }
}

void Form1::ShowPressError(const HostFailure& caught) noexcept {
  try {
    host_.ui.ShowMessage(ProcedureFailureText(caught, u"cmdAvviaConTimer_Click of Form Form1"),
                         MessageStyle::kOk, std::nullopt);
  } catch (...) {
    // The error box itself failed: there is nothing left to tell the user with.
  }
}

void Form1::StartInstallation() {
  // Built whole before it replaces the table, so a count that cannot be sized
  // leaves the table of the last press as it was.
  table_ = ItemTable::SizedFromPackage(host_.package);
  if (InstallPass(table_, host_, resolve_)) {
    host_.ui.EndProgram();
  } else {
    window_.SetTimerEnabled(true);
    host_.progress.ShowWaitingToRetry(true);
  }
}

void Form1::Timer_Timer() {
  if (handlerBusy_ || pumpingAfterTick_) return;
  try {
    if (TickFailed()) CountFailedTick();
  } catch (...) {
    try {
      CountFailedTick();
    } catch (...) {
      // Counting failed too; the next tick tries again.
    }
  }
}

bool Form1::TickFailed() {
  const BusyScope busy(handlerBusy_);
  if (attemptCount_ >= kAttemptsBeforeAsking) {
    if (host_.ui.ShowMessage(u"Interrompere?", MessageStyle::kQuestionYesNo, Text(u"Attenzione")) ==
        MessageAnswer::kYes) {
      StopUpdate();
      return false;
    }
    attemptCount_ = 0;
  }
  if (InstallPass(table_, host_, resolve_)) {
    window_.SetTimerEnabled(false);
    host_.ui.EndProgram();
    return false;
  }
  host_.progress.ShowWaitingToRetry(true);
  return true;
}

void Form1::StopUpdate() {
  window_.SetTimerEnabled(false);
  host_.progress.ShowWaitingToRetry(false);
  Text message(u"Aggiornamento interrotto!");
  const Text summary = UpdateSummary(table_, host_.package);
  if (!summary.empty()) {
    message += u"\r\n\r\n";
    message += summary;
  }
  host_.ui.ShowMessage(message, MessageStyle::kWarning, Text(u"Aggiornamento"));
}

void Form1::CountFailedTick() {
  if (attemptCount_ == std::numeric_limits<std::int32_t>::max()) {
    throw HostFailure(failure::kOverflow);
  }
  ++attemptCount_;
  window_.SetStartButtonCaption(DecimalText(attemptCount_));
  // Outside the busy scope: messages that queued up during the pass are handled
  // here, as they would be after any other handler (the user's input of that time
  // was dropped when the pass ended), but a tick that is due is not run inside
  // this one.
  const BusyScope pumping(pumpingAfterTick_);
  host_.ui.PumpMessages();
}

}  // namespace velbor
