#pragma once

#include <cstdint>

#include "app/installer_host.h"
#include "app/item_folder.h"
#include "app/item_table.h"
#include "app/main_window.h"
#include "app/payload_check.h"
#include "host/failure.h"

namespace velbor {

// The logic of the installer's window: the start button's press and the retry
// timer's tick, over the item table and the count of failed timer passes that the
// window keeps for the whole run.
//
// While the timer waits to retry a failed pass, the installer is shown waiting.
//
// Both handlers run on the window's thread, and the message loop runs again inside
// every box they open, so a tick or a press can arrive while a handler is still
// busy; it is dropped then, which keeps two passes from ever running at once, as
// is a tick that arrives while a failed tick pumps messages. No failure leaves a
// handler: the message loop that calls them has no one to give it to.
//
// Nothing is written before the payload's check has found every item's bytes to
// match their digests: a press waits for the check, and a damaged payload is
// refused with a box and the program ends as failed, pressed or not.
class Form1 {
 public:
  Form1(const InstallerHost& host, MainWindow& window, TemplateResolver resolve,
        PayloadCheck& check);

  // The payload's check has ended: a damaged payload is refused at once.
  void PayloadChecked();

  // Waits for the payload's check; then sizes the table anew from the package,
  // forgetting finished items and resolved folders, and runs a pass: success ends
  // the program, failure enables the timer. A failure to size the table is shown
  // in an error box, and no pass runs.
  void cmdAvviaConTimer_Click();

  // Runs one more pass: success ends the program, failure is counted and shown on
  // the button. Once 40 timer passes have failed the user is first asked whether
  // to stop; stopping disables the timer and tells what was updated, and going on
  // starts the count again.
  void Timer_Timer();

  const ItemTable& Table() const { return table_; }
  std::int32_t AttemptCount() const { return attemptCount_; }

 private:
  // Waits for the payload's check, the window answering; false when the payload
  // was refused.
  bool PayloadSound();
  void Refuse(const PayloadDamage& damage) noexcept;
  void StartInstallation();
  void ShowPressError(const HostFailure& caught) noexcept;
  // The tick up to its count; true when it has to be counted as failed.
  bool TickFailed();
  void StopUpdate();
  void CountFailedTick();

  InstallerHost host_;
  MainWindow& window_;
  TemplateResolver resolve_;
  PayloadCheck& check_;
  ItemTable table_;
  std::int32_t attemptCount_ = 0;
  bool handlerBusy_ = false;
  bool pumpingAfterTick_ = false;
};

}  // namespace velbor
