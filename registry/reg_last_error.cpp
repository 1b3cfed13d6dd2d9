#include "registry/reg_last_error.h"

namespace velbor {

TextView LibraryErrorMessage(std::int32_t code) noexcept {
  switch (code) {
    case reg_error::kTooManyKeys:
      return u"Il massimo numero di chiavi previste è stato superato";
    case reg_error::kTypeMismatch:
      return u"Il tipo dichiarato non corrisponde al valore passato come parametro";
    case reg_error::kInvalidType:
      return u"Il tipo passato come parametro non risulta essere valido";
    default:
      return u"Errore imprevisto";
  }
}

TextView SystemErrorMessage(std::int32_t code) noexcept {
  switch (code) {
    case 2:  // ERROR_FILE_NOT_FOUND
      return u"La chiave/valore specificata/o non esiste";
    case 5:  // ERROR_ACCESS_DENIED
      return u"Accesso negato al registro";
    case 14:  // ERROR_OUTOFMEMORY
      return u"Out of memory";
    case 87:  // ERROR_INVALID_PARAMETER
      return u"Parametro non valido";
    case 1009:  // ERROR_BADDB
      return u"Il database del registro risulta essere danneggiato";
    case 1010:  // ERROR_BADKEY
      return u"Il nome della chiave non risulta essere corretto";
    case 1011:  // ERROR_CANTOPEN
      return u"Non è stato possibile aprire la chiave specificata";
    case 1012:  // ERROR_CANTREAD
      return u"Non è stato possibile leggere la chiave specificata";
    case 1013:  // ERROR_CANTWRITE
      return u"Non è stato possibile scrivere la chiave specificata";
    default:
      return u"Errore non previsto";
  }
}

RegLastError LibraryError(std::int32_t code) noexcept {
  return {code, kRegErrorSource, LibraryErrorMessage(code)};
}

RegLastError SystemError(std::int32_t code) noexcept {
  return {code, kRegErrorSource, SystemErrorMessage(code)};
}

}  // namespace velbor
