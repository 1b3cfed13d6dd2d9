#include "app/failure_class.h"

namespace velbor {
namespace {

struct Row {
  std::int32_t number;
  bool inUse;
  bool mayPass;
  const char16_t* whyNever;
};

// Every failure that an item's attempt raises.
constexpr Row kClasses[] = {
    {failure::kPermissionDenied, true, true, u""},
    {failure::kPermissionDenied, false, false,
     u"accesso negato, e nessun programma tiene il file (di sola lettura, una cartella al suo "
     u"posto o un disco protetto)"},
    {failure::kInvalidArgument, false, false, u"il sistema rifiuta la richiesta"},
    {failure::kOutOfMemory, false, false, u"la memoria non basta"},
    {failure::kSubscriptOutOfRange, false, false, u"il descrittore ha meno di quattro campi"},
    {failure::kBadFileName, false, false, u"il sistema rifiuta il nome del file"},
    {failure::kFileNotFound, false, false, u"il file non si trova"},
    {failure::kDiskFull, false, false, u"il disco è pieno"},
    {failure::kPathFileAccess, false, false, u"il file non si può scrivere"},
    {failure::kPathNotFound, false, false, u"la cartella non è stata trovata"},
    {failure::kInvalidFileFormat, false, false,
     u"il contenuto compresso dell'elemento è danneggiato"},
    {failure::kResourceNotFound, false, false, u"il pacchetto non contiene l'elemento"},
};

}  // namespace

FailureClass ClassOf(const HostFailure& failure, bool held, const Text& folder) {
  const bool inUse = failure.IsInUse() || (held && failure.Number() == failure::kPermissionDenied);
  for (const Row& row : kClasses) {
    if (row.number != failure.Number() || row.inUse != inUse) continue;
    if (row.mayPass) return {true, Text()};
    if (row.number == failure::kPathNotFound && !folder.empty()) {
      return {false, u"la cartella " + folder + u" non esiste"};
    }
    return {false, row.whyNever};
  }
  // Nothing that the system left unexplained mends itself.
  return {false, u"errore imprevisto"};
}

}  // namespace velbor
