#include "app/exit_meaning.h"

#include "app/exit_codes.h"

namespace velbor {

Text ExitMeaning(int exitCode) {
  switch (exitCode) {
    case kExitInstalled:
      return u"installazione riuscita";
    case kExitEndedByUser:
      return u"interrotta prima della fine";
    case kExitFailed:
      return u"installazione non riuscita";
    case kExitTryLater:
      return u"riprovare più tardi: un altro setup è in corso o un file è rimasto in uso";
    case kExitLogNotOpened:
      return u"il registro non si apre";
    case kExitInvalidCommandLine:
      return u"riga di comando non valida";
    default:
      return u"codice sconosciuto";
  }
}

}  // namespace velbor
