#include "tests/doubles/failure_plan.h"

#include <stdexcept>
#include <utility>

namespace velbor::testing {

void FailurePlan::FailCall(Operation operation, int nth, HostFailure failure) {
  if (nth < 1) throw std::invalid_argument("the first call that can fail is the next one, 1");
  planned_.push_back({operation, nth, std::move(failure)});
}

std::optional<HostFailure> FailurePlan::TakeFailureForCall(Operation operation) {
  std::optional<HostFailure> due;
  for (auto plan = planned_.begin(); plan != planned_.end();) {
    if (plan->operation == operation && --plan->callsToGo == 0) {
      // Two plans for the same call: the earlier one wins, the later one is spent.
      if (!due) due = plan->failure;
      plan = planned_.erase(plan);
    } else {
      ++plan;
    }
  }
  return due;
}

}  // namespace velbor::testing
