#pragma once

#include <optional>
#include <vector>

#include "host/failure.h"
#include "tests/doubles/operation.h"

namespace velbor::testing {

// Failures that tests plan for particular calls of particular operations.
class FailurePlan {
 public:
  // Makes the `nth` next call of `operation` fail with `failure`; 1 is the very
  // next call. Plans for different calls of one operation can stand side by side.
  void FailCall(Operation operation, int nth, HostFailure failure);

  // Counts one call of `operation` and answers the failure planned for it, if any.
  std::optional<HostFailure> TakeFailureForCall(Operation operation);

 private:
  struct PlannedFailure {
    Operation operation;
    int callsToGo;
    HostFailure failure;
  };

  std::vector<PlannedFailure> planned_;
};

}  // namespace velbor::testing
