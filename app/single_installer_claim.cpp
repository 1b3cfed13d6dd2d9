#include "app/single_installer_claim.h"

namespace velbor {

bool ClaimSingleInstaller(InstallerNames& names, const InstallLog& log) {
  switch (names.MakeNamespace()) {
    case InstallerNames::Namespace::kMade:
      return names.TakeRunningSign(true);
    case InstallerNames::Namespace::kExists:
      if (names.OpenNamespace()) return names.TakeRunningSign(true);
      // Made by a program that is no installer: waiting for it could be forever.
      log.Write(
          u"Lo spazio dei nomi dei setup esiste ma non si apre: non l'ha creato un setup. Si "
          u"prosegue senza sapere se un altro setup è in corso.");
      return true;
    case InstallerNames::Namespace::kUnsupported:
      log.Write(
          u"Il sistema non ha spazi dei nomi privati: il segno del setup in corso è globale.");
      return names.TakeRunningSign(false);
    case InstallerNames::Namespace::kNotMade:
      break;
  }
  log.Write(
      u"Lo spazio dei nomi dei setup non si crea: si prosegue senza sapere se un altro setup è "
      u"in corso.");
  return true;
}

}  // namespace velbor
