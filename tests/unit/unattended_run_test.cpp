// A quiet or passive run: the pass as it goes on past a failed item and awaits its
// tools, and the boxes and prompts that become log lines.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/failure_class.h"
#include "app/install_pass.h"
#include "app/logged_interface.h"
#include "app/unattended_run.h"
#include "app/update_summary.h"
#include "tests/doubles/scripted_host.h"
#include "tests/unit/installer_test_support.h"
#include "tests/unit/memory_log_sink.h"

namespace velbor {
namespace {

using testing::AddItem;
using testing::Bytes;
using testing::kCorsentaFolder;

Text InCorsenta(const Text& name) { return kCorsentaFolder + name; }

// A host, a log and an unattended run whose end is recorded.
struct UnattendedWorld {
  bool Pass() {
    InstallerHost host = testing::HostOf(host_);
    host.log = &log_;
    host.unattended = &run_;
    host.holders = &host_;
    return InstallPass(table_, host, resolver_.Resolver());
  }

  testing::ScriptedHost host_;
  testing::ScriptedResolver resolver_{host_};
  testing::MemoryLogSink sink_;
  InstallLog log_{sink_};
  std::vector<int> ended_;
  UnattendedRun run_{log_, [this](int exitCode) { ended_.push_back(exitCode); }};
  ItemTable table_{2};
};

class UnattendedRunTest : public ::testing::Test, protected UnattendedWorld {};

TEST_F(UnattendedRunTest, AFileInUseIsRetriedAndItsHoldersAreNamedInTheLogAndTheSummary) {
  table_ = ItemTable(1);
  AddItem(host_, 0, u"a.txt|<APPPATH>Corsenta/|N|", {1});
  AddItem(host_, 1, u"b.txt|<APPPATH>Corsenta/|N|", {2});
  host_.Disk().PutFile(InCorsenta(u"b.txt"), {9});
  host_.Disk().HoldOpen(InCorsenta(u"b.txt"));
  host_.SetHolders(InCorsenta(u"b.txt"), {{u"Corsenta.exe", 412, false}});

  EXPECT_FALSE(Pass());
  EXPECT_TRUE(ended_.empty());
  EXPECT_TRUE(
      sink_.Holds("Elemento 102 b.txt: errore 70 (Permission denied) su "
                  "C:\\Velbor\\Corsenta\\b.txt, in uso da Corsenta.exe (PID 412)\r\n"));
  EXPECT_EQ(UpdateSummary(table_, host_),
            u"Elenco file aggiornati: a.txt\r\n\r\n"
            u"Elenco file NON aggiornati: b.txt (in uso da Corsenta.exe (PID 412))\r\n\r\n");

  host_.Disk().Release(InCorsenta(u"b.txt"));
  EXPECT_TRUE(Pass());
  EXPECT_TRUE(ended_.empty());
  EXPECT_EQ(table_.Holders(1), u"");
  ASSERT_EQ(host_.MessageBoxes().size(), 1u);
  EXPECT_EQ(host_.MessageBoxes()[0].prompt, u"Aggiornamento terminato!");
}

// Every failure that an item's attempt raises: only a file in use may pass.
TEST(FailureClassTest, OnlyAFileInUseMayPass) {
  const struct {
    HostFailure failure;
    bool held;
    bool mayPass;
    const char* whyNever;
  } cases[] = {
      {HostFailure::InUse(), false, true, ""},
      {HostFailure(failure::kPermissionDenied), true, true, ""},
      {HostFailure(failure::kPermissionDenied), false, false, "accesso negato, e nessun programma"},
      {HostFailure(failure::kInvalidArgument), false, false, "il sistema rifiuta la richiesta"},
      {HostFailure(failure::kOutOfMemory), false, false, "la memoria non basta"},
      {HostFailure(failure::kSubscriptOutOfRange), false, false, "il descrittore ha meno"},
      {HostFailure(failure::kBadFileName), false, false, "il sistema rifiuta il nome del file"},
      {HostFailure(failure::kFileNotFound), false, false, "il file non si trova"},
      {HostFailure(failure::kDiskFull), true, false, "il disco è pieno"},
      {HostFailure(failure::kPathFileAccess), false, false, "il file non si può scrivere"},
      {HostFailure(failure::kPathNotFound), false, false, "la cartella C:\\A\\ non esiste"},
      {HostFailure(failure::kInvalidFileFormat), false, false, "il contenuto compresso"},
      {HostFailure::ResourceNotFound(101), false, false, "il pacchetto non contiene"},
      {HostFailure(12345), false, false, "errore imprevisto"},
  };
  for (const auto& c : cases) {
    const FailureClass verdict = ClassOf(c.failure, c.held, u"C:\\A\\");
    EXPECT_EQ(verdict.mayPass, c.mayPass) << c.failure.what();
    EXPECT_TRUE(Utf8FromText(verdict.whyNever).starts_with(c.whyNever)) << c.failure.what();
  }
}

// A failure that no retry mends fails its item for good at once: the others are
// still installed and the run ends with 1603 without waiting for the timer.
TEST_F(UnattendedRunTest, AFailureThatNeverPassesEndsTheRunWith1603OnceEveryItemWasTried) {
  table_ = ItemTable(1);
  resolver_.SetFolder(u"<APPPATH>Corsenta\\Sotto\\", InCorsenta(u"Sotto\\"));
  AddItem(host_, 0, u"a.txt|<APPPATH>Corsenta/Sotto/|N|", {1});
  AddItem(host_, 1, u"b.txt|<APPPATH>Corsenta/|N|", {2});

  EXPECT_FALSE(Pass());
  EXPECT_EQ(ended_, std::vector<int>{1603});
  EXPECT_EQ(host_.Disk().ReadFile(InCorsenta(u"b.txt")), Bytes{2});
  EXPECT_TRUE(
      sink_.Holds("Elemento 101 a.txt: errore 76 (Path not found) su "
                  "C:\\Velbor\\Corsenta\\Sotto\\a.txt; la cartella "
                  "C:\\Velbor\\Corsenta\\Sotto\\ non esiste: l'elemento non viene ritentato\r\n"))
      << sink_.written;
}

TEST_F(UnattendedRunTest, EachToolIsAwaitedAndOneThatFailsOrRunsOnEndsTheRunWith1603) {
  struct Case {
    std::vector<std::optional<std::uint32_t>> exitCodes;
    std::vector<int> ended;
    const char* lastLine;
  };
  const std::vector<Case> cases = {
      {{0, 0, 0}, {}, "/codebase \"C:\\Velbor\\Corsenta\\Net.dll\" (codice di uscita 0)"},
      {{0, 3, 0}, {1603}, "/tlb:Net.tlb (codice di uscita 3)"},
      {{0, 0, std::nullopt}, {1603}, "Net.dll\" (ancora in corso dopo 10 minuti)"},
  };
  for (const Case& c : cases) {
    UnattendedWorld world;
    world.table_ = ItemTable(1);
    AddItem(world.host_, 0, u"Com.dll|<APPPATH>Corsenta/|S|", {1});
    AddItem(world.host_, 1, u"Net.dll|<APPPATH>Corsenta/|S|R", {2});
    for (const auto& exitCode : c.exitCodes) world.host_.QueueExitCode(exitCode);
    world.host_.SetWindowsFolder(u"C:\\WINDOWS");

    EXPECT_EQ(world.Pass(), c.ended.empty());
    EXPECT_EQ(world.ended_, c.ended);
    EXPECT_TRUE(world.table_.IsDone(0) && world.table_.IsDone(1));
    EXPECT_EQ(world.host_.StartedProcesses().size(), 3u);
    EXPECT_TRUE(
        world.sink_.Holds("Registrazione: regsvr32.exe \"C:\\Velbor\\Corsenta\\Com.dll\" /s "
                          "(codice di uscita 0)"));
    EXPECT_TRUE(world.sink_.Holds(c.lastLine)) << world.sink_.written;
  }
}

TEST_F(UnattendedRunTest, BoxesAndPromptsBecomeLogLinesAndAQuestionEndsTheRunWith1618) {
  LoggedInterface ui(host_, log_, &run_);
  EXPECT_EQ(
      ui.ShowMessage(u"TargetDir non gestita! (x)", MessageStyle::kError, Text(u"Attenzione")),
      MessageAnswer::kOk);
  EXPECT_EQ(ui.ShowMessage(u"Error 326 (...)\r\nsecond", MessageStyle::kOk, std::nullopt),
            MessageAnswer::kOk);
  EXPECT_EQ(ui.AskText(u"Specificare il percorso", u"Setup", u"C:\\P\\"), u"");
  EXPECT_TRUE(ended_.empty());
  ui.ShowMessage(u"Interrompere?", MessageStyle::kQuestionYesNo, Text(u"Attenzione"));
  EXPECT_EQ(ended_, std::vector<int>{1618});
  ui.EndProgram();
  EXPECT_EQ(ended_, (std::vector<int>{1618, 0}));

  EXPECT_TRUE(host_.MessageBoxes().empty());
  EXPECT_TRUE(host_.Prompts().empty());
  EXPECT_FALSE(host_.ProgramEnded());
  EXPECT_TRUE(
      sink_.Holds("  Messaggio [Brevanti Setup]: Error 326 (...)\r\n"
                  "                         second\r\n"));
  EXPECT_TRUE(sink_.Holds("  Richiesta [Setup]: Specificare il percorso (proposta: C:\\P\\)"));
  EXPECT_TRUE(sink_.Holds("  Fine, codice di uscita 1618: "));
}

}  // namespace
}  // namespace velbor
