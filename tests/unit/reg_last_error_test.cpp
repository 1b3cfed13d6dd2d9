#include "registry/reg_last_error.h"

#include <gtest/gtest.h>

#include "host/text.h"
#include "tests/contract/reg_last_error_check.h"

namespace velbor {
namespace {

using testing::RecordIs;

TEST(RegErrorMessagesTest, LibraryTableWithItsOwnDefault) {
  EXPECT_EQ(LibraryErrorMessage(100), u"Il massimo numero di chiavi previste è stato superato");
  EXPECT_EQ(LibraryErrorMessage(200),
            u"Il tipo dichiarato non corrisponde al valore passato come parametro");
  EXPECT_EQ(LibraryErrorMessage(300), u"Il tipo passato come parametro non risulta essere valido");
  for (const int code : {0, 2, 101, -1}) EXPECT_EQ(LibraryErrorMessage(code), u"Errore imprevisto");
}

TEST(RegErrorMessagesTest, SystemTableWithItsOwnDefault) {
  EXPECT_EQ(SystemErrorMessage(2), u"La chiave/valore specificata/o non esiste");
  EXPECT_EQ(SystemErrorMessage(5), u"Accesso negato al registro");
  EXPECT_EQ(SystemErrorMessage(14), u"Out of memory");
  EXPECT_EQ(SystemErrorMessage(87), u"Parametro non valido");
  EXPECT_EQ(SystemErrorMessage(1009), u"Il database del registro risulta essere danneggiato");
  EXPECT_EQ(SystemErrorMessage(1010), u"Il nome della chiave non risulta essere corretto");
  EXPECT_EQ(SystemErrorMessage(1011), u"Non è stato possibile aprire la chiave specificata");
  EXPECT_EQ(SystemErrorMessage(1012), u"Non è stato possibile leggere la chiave specificata");
  EXPECT_EQ(SystemErrorMessage(1013), u"Non è stato possibile scrivere la chiave specificata");
  for (const int code : {0, 6, 100, 234, -1}) {
    EXPECT_EQ(SystemErrorMessage(code), u"Errore non previsto");
  }
}

TEST(RegErrorRecordTest, KeepsTheCodeAlsoWithADefaultMessage) {
  EXPECT_TRUE(RecordIs(SystemError(234), 234, u"Errore non previsto"));
  EXPECT_TRUE(RecordIs(SystemError(-1), -1, u"Errore non previsto"));
  EXPECT_TRUE(RecordIs(LibraryError(300), 300, LibraryErrorMessage(300)));
  EXPECT_TRUE(RecordIs(LibraryError(2), 2, u"Errore imprevisto"));
}

}  // namespace
}  // namespace velbor
