#pragma once

#include "host/failure.h"
#include "host/text.h"
#include "host/user_interface.h"

namespace velbor {

// The error box of the installation folder lookups, for the failure `caught` that
// the caller is handling:
//   prefix ". ErrorLine:" line ".  " number " - " description "; ID : " source
// with an error icon and an empty title, after which the mouse pointer is set back
// to the default. It catches no failure of its own: those pass to the caller.
void ShowErrorReport(UserInterface& ui, const ErrorInfo& caught, TextView prefix = {});

}  // namespace velbor
