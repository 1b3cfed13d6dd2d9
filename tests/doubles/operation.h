#pragma once

#include <ostream>
#include <string_view>

namespace velbor::testing {

// The host operations that the scripted host logs and can make fail.
enum class Operation {
  kLoadResourceText,
  kLoadResourceBytes,
  kShowMessage,
  kAskText,
  kPumpMessages,
  kEndProgram,
  kEndFailedProgram,
  kResetMousePointer,
  kFindFileName,
  kDeleteFile,
  kWriteWholeFile,
  kHoldFile,
  kStartProcess,
};

std::string_view OperationName(Operation operation);

// Lets GoogleTest print operations by name.
void PrintTo(Operation operation, std::ostream* out);

}  // namespace velbor::testing
