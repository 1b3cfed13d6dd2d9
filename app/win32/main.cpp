// The installer's start-up: the command line, the log, the host services, the
// registry library, the target folder resolution, the payload's check and the
// window, wired together; then the window waits, or presses its own button in an
// unattended run.
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/form1.h"
#include "app/install_log.h"
#include "app/logged_interface.h"
#include "app/payload_check.h"
#include "app/single_installer_claim.h"
#include "app/unattended_run.h"
#include "app/win32/form1_window.h"
#include "app/win32/payload_check_thread.h"
#include "host/application_title.h"
#include "host/failure.h"
#include "host/sha256_digest.h"
#include "host/win32/answering_wait.h"
#include "host/win32/library_search.h"
#include "host/win32/restart_manager_holders.h"
#include "host/win32/run_facts.h"
#include "host/win32/single_installer.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_file_system.h"
#include "host/win32/win32_log_file.h"
#include "host/win32/win32_pass_progress.h"
#include "host/win32/win32_processes.h"
#include "host/win32/win32_registry.h"
#include "host/win32/win32_resources.h"
#include "host/win32/win32_user_interface.h"
#include "paths/installation_folders.h"
#include "paths/target_folder_resolver.h"
#include "registry/registry_library.h"

namespace {

void LogHead(const velbor::InstallLog& log, HINSTANCE instance) {
  using velbor::Text;
  log.Write(velbor::kApplicationTitle + Text(u", versione ") + velbor::ProgramVersion(instance));
  log.Write(u"Riga di comando: " + velbor::TextFromWide(GetCommandLineW()));
  log.Write(u"Sistema: " + velbor::WindowsVersion());
  log.Write(u"Processo: " + velbor::ProcessIdentity());
}

// The digests the program carries, as setup-inspect reports them, so that a log
// tells which payload a run had.
void LogCarriedDigests(const velbor::InstallLog& log, const velbor::PayloadContents& payload) {
  using velbor::Text;
  if (!payload.digestsCarried) {
    log.Write(u"SHA-256 del contenuto: nessuno nel programma");
    return;
  }
  for (const velbor::PayloadItem& item : payload.items) {
    const std::string hex = item.carriedContent ? velbor::HexText(*item.carriedContent) : "nessuno";
    log.Write(u"SHA-256 di " + item.file + u": " + Text(hex.begin(), hex.end()));
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // The installer runs elevated, often from a downloads folder.
  velbor::RestrictLibrarySearchToSystem();

  velbor::Win32UserInterface screen;
  const velbor::CommandLineRequest request =
      velbor::ReadCommandLine(velbor::SplitArguments(velbor::TextFromWide(GetCommandLineW())));
  const bool quiet = request.mode == velbor::RunMode::kQuiet;
  if (request.refused || request.usageAsked) {
    // Nothing is installed, so no deployment takes the run for done; the usage
    // shows only to someone at the desktop, never to an unattended session.
    if (request.mode == velbor::RunMode::kInteractive) {
      screen.ShowMessage(
          velbor::UsageText(),
          request.refused ? velbor::MessageStyle::kError : velbor::MessageStyle::kInformation, {});
    }
    return velbor::kExitInvalidCommandLine;
  }

  std::optional<velbor::Win32LogFile> logFile;
  velbor::InstallLog log;
  if (request.logPath) {
    try {
      logFile.emplace(*request.logPath);
    } catch (const velbor::HostFailure&) {
      return velbor::kExitLogNotOpened;
    }
    log = velbor::InstallLog(*logFile);
  }
  LogHead(log, instance);

  velbor::Win32InstallerNames installerNames;
  if (!velbor::ClaimSingleInstaller(installerNames, log)) {
    log.Write(u"Un altro setup è in corso: questo non fa nulla.");
    if (request.mode == velbor::RunMode::kInteractive) velbor::Form1Window::BringRunningToFront();
    velbor::LogEnd(log, velbor::kExitTryLater);
    return velbor::kExitTryLater;
  }

  std::optional<velbor::UnattendedRun> unattended;
  if (request.mode != velbor::RunMode::kInteractive) {
    unattended.emplace(log, [&screen](int exitCode) { screen.EndProgramWith(exitCode); });
  }
  velbor::UnattendedRun* const unattendedRun = unattended ? &*unattended : nullptr;
  velbor::LoggedInterface ui(screen, log, unattendedRun);

  velbor::Win32Resources package(instance);
  // Payloads are checked and written from the installer's own file where it is
  // proven to be; held from here on, so that nobody can write it.
  const std::optional<velbor::ImageFile> image = velbor::ImageFile::Prove(instance);
  const velbor::ImageFile* imageFile = image ? &*image : nullptr;
  velbor::Win32FileSystem files(imageFile);
  velbor::Win32Processes processes(&velbor::WaitAnsweringMessages);
  velbor::Win32PassProgress progress;
  velbor::Win32Registry registryApi;
  velbor::RegistryLibrary registry(registryApi);
  velbor::RestartManagerHolders holders;
  velbor::InstallationFolders installationFolders(registry, ui);
  velbor::TargetFolderResolver targetFolders(installationFolders, ui, files, &log);

  std::optional<velbor::Form1Window> window;
  std::optional<velbor::PayloadCheckThread> payloadCheck;
  try {
    window.emplace(instance, VELBOR_TIMER_MS, progress);
    // Every item is hashed while the window shows; nothing is written before.
    velbor::PayloadContents payload = velbor::ReadPayload(package);
    LogCarriedDigests(log, payload);
    payloadCheck.emplace(std::move(payload), imageFile, window->Handle(),
                         velbor::kPayloadCheckedMessage);
  } catch (const std::exception&) {
    // Without its window or its check the installer can do nothing; say so to
    // whoever started it.
    velbor::LogEnd(log, velbor::kExitFailed);
    return velbor::kExitFailed;
  }
  screen.SetMainWindow(window->Handle());
  progress.SetMainWindow(window->Handle());
  velbor::Form1 form({package, ui, files, processes, progress, &log, unattendedRun, &holders},
                     *window, targetFolders.Resolver(), *payloadCheck);
  window->SetHandlers(
      [&] {
        form.cmdAvviaConTimer_Click();
        // A press that neither ended the run nor left the timer to retry could not
        // read the package: unattended, nobody would ever press again.
        if (unattendedRun != nullptr && !window->TimerEnabled())
          unattendedRun->End(velbor::kExitFailed);
      },
      [&form] { form.Timer_Timer(); }, [&form] { form.PayloadChecked(); });
  if (!quiet) window->Show(showCommand);
  if (unattendedRun != nullptr) window->PressStartLater();
  const int exitCode = velbor::RunMessageLoop(window->Handle());
  velbor::LogEnd(log, exitCode);
  return exitCode;
}
