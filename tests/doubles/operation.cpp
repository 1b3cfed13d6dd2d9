#include "tests/doubles/operation.h"

namespace velbor::testing {

std::string_view OperationName(Operation operation) {
  switch (operation) {
    case Operation::kLoadResourceText:
      return "LoadResourceText";
    case Operation::kLoadResourceBytes:
      return "LoadResourceBytes";
    case Operation::kShowMessage:
      return "ShowMessage";
    case Operation::kAskText:
      return "AskText";
    case Operation::kPumpMessages:
      return "PumpMessages";
    case Operation::kEndProgram:
      return "EndProgram";
    case Operation::kEndFailedProgram:
      return "EndFailedProgram";
    case Operation::kResetMousePointer:
      return "ResetMousePointer";
    case Operation::kFindFileName:
      return "FindFileName";
    case Operation::kDeleteFile:
      return "DeleteFile";
    case Operation::kWriteWholeFile:
      return "WriteWholeFile";
    case Operation::kHoldFile:
      return "HoldFile";
    case Operation::kStartProcess:
      return "StartProcess";
  }
  return "unknown operation";
}

void PrintTo(Operation operation, std::ostream* out) { *out << OperationName(operation); }

}  // namespace velbor::testing
