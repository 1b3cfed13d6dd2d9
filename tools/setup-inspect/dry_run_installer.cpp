#include "tools/setup-inspect/dry_run_installer.h"

#include <optional>

#include "app/form1.h"
#include "app/main_window.h"
#include "app/payload_check.h"
#include "tools/setup-inspect/package_faults.h"

namespace velbor {
namespace {

// The payload's digests are checked by the inspection itself.
class PayloadCheckedElsewhere final : public PayloadCheck {
 public:
  std::optional<PayloadDamage> AwaitVerdict(const CheckProgress&) override { return std::nullopt; }
};

// Shows nothing: the inspection only needs to know that the handler ran.
class NoWindow final : public MainWindow {
 public:
  void SetStartButtonCaption(const Text&) override {}
  void SetTimerEnabled(bool) override {}
};

}  // namespace

DryRunInstaller::DryRunInstaller(PeResources& program, const Sha256& sha256)
    : program_(program),
      digests_(sha256),
      registry_(host_),
      folders_(registry_, host_),
      resolver_(folders_, host_, host_),
      installer_{program_, host_, host_, host_, host_} {}

std::string DryRunInstaller::PressBox() {
  host_.Forget();
  NoWindow window;
  PayloadCheckedElsewhere check;
  Form1 form(installer_, window, resolver_.Resolver(), check);
  form.cmdAvviaConTimer_Click();
  return fault::FirstBox(host_);
}

}  // namespace velbor
