#pragma once

#include "host/failure.h"
#include "host/text.h"

namespace velbor {

// Whether an item whose attempt failed may pass at a later one. Only a file that
// another program holds may: every other failure stays until the package or the
// machine changes, so an unattended run fails the item for good rather than
// retrying it for a quarter of an hour and then saying "try again later".
struct FailureClass {
  bool mayPass = false;
  // Why it never passes, for the log; empty when it may.
  Text whyNever;
};

// The class of `failure`. `held`: the system names a program that holds the file
// (a refused access on an existing target can be that). `folder`: where the item
// was to be written, empty when not known yet.
FailureClass ClassOf(const HostFailure& failure, bool held, const Text& folder);

}  // namespace velbor
