// Installers run as deployment tools run them: with switches, nobody at the desktop,
// judged by their exit codes, their logs and what they leave on disk.
#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gtest/gtest.h"
#include "host/text.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "tests/e2e/held_file.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

struct RunEnd {
  DWORD exitCode = 0;
  bool windowSeen = false;
};

BOOL CALLBACK NoteVisibleWindowOf(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<std::pair<DWORD, bool>*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == wanted->first && IsWindowVisible(window)) wanted->second = true;
  return TRUE;
}

// Runs `program` with `arguments` until it ends, watching for any window of its
// that becomes visible meanwhile.
RunEnd RunToEnd(const std::wstring& program, const std::wstring& arguments,
                const std::wstring& folder) {
  std::wstring line = Quoted(program) + L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started)) {
    throw std::runtime_error("cannot start an installer");
  }
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  std::pair<DWORD, bool> search{started.dwProcessId, false};
  const auto deadline = std::chrono::steady_clock::now() + 3 * kPatience;
  while (WaitForSingleObject(process.Get(), 20) == WAIT_TIMEOUT) {
    EnumWindows(NoteVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
    if (std::chrono::steady_clock::now() > deadline) {
      TerminateProcess(process.Get(), 1);
      WaitForSingleObject(process.Get(), INFINITE);
      ADD_FAILURE() << "the installer ran on and was ended";
    }
  }
  RunEnd end;
  GetExitCodeProcess(process.Get(), &end.exitCode);
  end.windowSeen = search.second;
  return end;
}

std::string Utf8(const std::wstring& text) { return Utf8FromText(TextFromWide(text)); }

class UnattendedTest : public InstallerTest {
 protected:
  std::wstring LogSwitch() const { return L"/log \"" + Scratch() + L"setup.log\""; }

  // The log as written, which must open with UTF-8's byte-order mark.
  std::string Log() const {
    const auto bytes = ReadWholeFile(Scratch() + L"setup.log");
    const std::string text = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    return text;
  }

  std::wstring MakeTavrelioFolder() const {
    const std::wstring folder = MakeFolder(L"Tavrelio");
    const UniqueFileHandle marker(CreateFileW((folder + L"Tavrelio.exe").c_str(), GENERIC_WRITE, 0,
                                              nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!marker.IsValid()) throw std::runtime_error("cannot make the marker of Tavrelio");
    return folder;
  }
};

TEST_F(UnattendedTest, QuietInstallsEveryItemUnseenAndLogsEach) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  const std::wstring tavrelio = MakeTavrelioFolder();

  const RunEnd end = RunToEnd(TestInstaller(L"trio"), L"/quiet " + LogSwitch(), Scratch());
  EXPECT_EQ(end.exitCode, 0u);
  EXPECT_FALSE(end.windowSeen);

  EXPECT_TRUE(HoldsExactly(corsenta + L"Uno.bin", Payload(L"trio", L"Uno.bin")));
  EXPECT_TRUE(HoldsExactly(tavrelio + L"Due.bin", Payload(L"trio", L"Due.bin")));
  EXPECT_TRUE(HoldsExactly(corsenta + L"Tre.bin", Payload(L"trio", L"Tre.bin")));
  const std::string log = Log();
  for (const auto& [item, folder, bytes] :
       {std::tuple{"101 Uno.bin", corsenta, "5000"}, std::tuple{"102 Due.bin", tavrelio, "4000"},
        std::tuple{"103 Tre.bin", corsenta, "3000"}}) {
    const std::string label = std::string("Elemento ") + item + ": ";
    EXPECT_NE(log.find(label + "cartella " + Utf8(folder) + "\r\n"), std::string::npos) << item;
    EXPECT_NE(log.find(label + bytes + " byte scritti in "), std::string::npos) << item;
    EXPECT_NE(log.find(label + "installato\r\n"), std::string::npos) << item;
  }
  EXPECT_TRUE(log.ends_with("Fine, codice di uscita 0: installazione riuscita\r\n")) << log;
}

TEST_F(UnattendedTest, QuietInstallsTheOthersWhereAFolderWouldBeAskedForAndEndsWith1603) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();

  const RunEnd end = RunToEnd(TestInstaller(L"trio"), L"/q " + LogSwitch(), Scratch());
  EXPECT_EQ(end.exitCode, 1603u);
  EXPECT_FALSE(end.windowSeen);
  EXPECT_EQ(FileNames(corsenta),
            (std::vector<std::wstring>{L"Corsenta.exe", L"Tre.bin", L"Uno.bin"}));
  EXPECT_NE(Log().find("Tavrelio.exe non trovato in " + Utf8(Scratch()) + "Tavrelio\\"),
            std::string::npos);
}

TEST_F(UnattendedTest, QuietRefusesADamagedPayloadInTheLogAndEndsWith1603) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();

  const RunEnd end = RunToEnd(TestInstaller(L"damaged"), L"/quiet " + LogSwitch(), Scratch());
  EXPECT_EQ(end.exitCode, 1603u);
  EXPECT_FALSE(end.windowSeen);
  EXPECT_EQ(FileNames(corsenta), std::vector<std::wstring>{L"Corsenta.exe"});
  EXPECT_NE(Log().find("Messaggio [Velbor S.r.l.]: Il file \"Secondo.bin\""), std::string::npos);
}

TEST_F(UnattendedTest, QuietWithAFileInUseEndsWith1618AfterTheLastRetry) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  const std::vector<std::uint8_t> old = {'i', 'n', ' ', 'u', 's', 'o'};
  HeldFile held(corsenta + L"Secondo.bin", old);

  const RunEnd end = RunToEnd(TestInstaller(L"pair_fast"), L"-QUIET " + LogSwitch(), Scratch());
  EXPECT_EQ(end.exitCode, 1618u);
  EXPECT_FALSE(end.windowSeen);
  EXPECT_EQ(held.Content(), old);
  // The press's pass and 40 retries each fail at the file in use, and name it.
  const std::string log = Log();
  const std::string failed = "Elemento 102 Secondo.bin: errore 70 (Permission denied) su " +
                             Utf8(corsenta) + "Secondo.bin";
  int failures = 0;
  for (auto at = log.find(failed); at != std::string::npos; at = log.find(failed, at + 1)) {
    ++failures;
  }
  EXPECT_EQ(failures, 41) << log;
  EXPECT_NE(log.find("Fine, codice di uscita 1618"), std::string::npos);
}

// A folder that does not exist is not retried for a quarter of an hour: the item
// fails for good, the other is written, and the run ends at once, long before the
// 41 retries of one second each that a file in use is given.
TEST_F(UnattendedTest, QuietEndsWith1603AtOnceWhereAFailureNeverPasses) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();

  const auto started = std::chrono::steady_clock::now();
  const RunEnd end = RunToEnd(TestInstaller(L"sotto"), L"/quiet " + LogSwitch(), Scratch());
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(end.exitCode, 1603u);
  EXPECT_FALSE(end.windowSeen);
  EXPECT_LT(took, std::chrono::seconds(15));
  EXPECT_TRUE(HoldsExactly(corsenta + L"Secondo.bin", Payload(L"sotto", L"Secondo.bin")));
  const std::string log = Log();
  const std::string failed = "Elemento 101 Unico.bin: errore 76 (Path not found) su " +
                             Utf8(corsenta) + "Sotto\\Unico.bin; la cartella " + Utf8(corsenta) +
                             "Sotto\\ non esiste: l'elemento non viene ritentato\r\n";
  EXPECT_NE(log.find(failed), std::string::npos) << log;
  EXPECT_EQ(log.find(failed), log.rfind(failed)) << log;
  EXPECT_TRUE(log.ends_with("Fine, codice di uscita 1603: installazione non riuscita\r\n")) << log;
}

TEST_F(UnattendedTest, QuietAwaitsTheRegistrationAndPassiveShowsItsWindow) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();

  const RunEnd quiet = RunToEnd(TestInstaller(L"com"), L"/s /norestart " + LogSwitch(), Scratch());
  EXPECT_EQ(quiet.exitCode, 0u);
  EXPECT_NE(Log().find("Registrazione: regsvr32.exe \"" + Utf8(corsenta) +
                       "VelborTraccia.dll\" /s (codice di uscita 0)"),
            std::string::npos);

  const RunEnd passive = RunToEnd(TestInstaller(L"com"), L"/passive", Scratch());
  EXPECT_EQ(passive.exitCode, 0u);
  EXPECT_TRUE(passive.windowSeen);
}

TEST_F(UnattendedTest, ASecondInstallerOrABadCommandLineEndsAtOnceWithoutInstalling) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  const std::vector<std::pair<std::wstring, DWORD>> cases = {
      {L"/quiet /reboot", 1639},
      {L"/q /log", 1639},
      {L"/quiet /log:\"" + Scratch() + L"manca\\setup.log\"", 1622},
      // The log's file forgotten: the switch after "/log" is no file's name.
      {L"/quiet /log /norestart", 1639},
      {L"/log /quiet", 1639},
      // Nothing installed, so no deployment records the run as done.
      {L"/quiet /?", 1639},
      {L"/passive /nonesiste", 1639},
  };
  for (const auto& [arguments, exitCode] : cases) {
    const RunEnd end = RunToEnd(TestInstaller(L"trio"), arguments, Scratch());
    EXPECT_EQ(end.exitCode, exitCode) << Utf8(arguments);
    EXPECT_FALSE(end.windowSeen) << Utf8(arguments);
  }
  // No file was named after a switch, here or at the drive's root.
  EXPECT_TRUE(FileNames(Scratch()).empty());
  for (const wchar_t* name : {L"quiet", L"norestart"}) {
    EXPECT_EQ(GetFileAttributesW((Scratch().substr(0, 3) + name).c_str()), INVALID_FILE_ATTRIBUTES)
        << Utf8(name);
  }

  InstallerProcess first(TestInstaller(L"pair"), Scratch());
  ASSERT_NE(first.Window(), nullptr);
  for (const wchar_t* arguments : {L"/quiet", L""}) {
    const RunEnd second = RunToEnd(TestInstaller(L"trio"), arguments, Scratch());
    EXPECT_EQ(second.exitCode, 1618u) << Utf8(arguments);
    EXPECT_FALSE(second.windowSeen) << Utf8(arguments);
  }
  EXPECT_EQ(FileNames(corsenta), (std::vector<std::wstring>{L"Corsenta.exe"}));
}

}  // namespace
}  // namespace velbor::testing
