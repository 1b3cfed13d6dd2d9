#include "paths/error_report.h"

#include <optional>

namespace velbor {

void ShowErrorReport(UserInterface& ui, const ErrorInfo& caught, TextView prefix) {
  Text report(prefix);
  report += u". ErrorLine:";
  report += DecimalText(caught.line);
  report += u".  ";
  report += DecimalText(caught.number);
  report += u" - ";
  report += caught.description;
  report += u"; ID : ";
  report += caught.source;
  ui.ShowMessage(report, MessageStyle::kError, Text());
  ui.ResetMousePointer();
}

}  // namespace velbor
