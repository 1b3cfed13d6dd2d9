#include "app/unattended_run.h"

#include "app/exit_meaning.h"

namespace velbor {

void LogEnd(const InstallLog& log, int exitCode) {
  Text line(u"Fine, codice di uscita ");
  line += DecimalText(exitCode);
  line += u": ";
  line += ExitMeaning(exitCode);
  log.Write(line);
}

void UnattendedRun::End(int exitCode) {
  LogEnd(log_, exitCode);
  endedWith_ = exitCode;
  endProcess_(exitCode);
}

}  // namespace velbor
