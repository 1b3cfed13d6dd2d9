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
#include "app/win32/retry_interval.h"
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

namespace velbor {
namespace {

void LogHead(const InstallLog& log, HINSTANCE instance) {
  log.Write(kApplicationTitle + Text(u", versione ") + ProgramVersion(instance));
  log.Write(u"Riga di comando: " + TextFromWide(GetCommandLineW()));
  log.Write(u"Sistema: " + WindowsVersion());
  log.Write(u"Processo: " + ProcessIdentity());
}

// The digests the program carries, as setup-inspect reports them, so that a log
// tells which payload a run had.
void LogCarriedDigests(const InstallLog& log, const PayloadContents& payload) {
  if (!payload.digestsCarried) {
    log.Write(u"SHA-256 del contenuto: nessuno nel programma");
    return;
  }
  for (const PayloadItem& item : payload.items) {
    const std::string hex = item.carriedContent ? HexText(*item.carriedContent) : "nessuno";
    log.Write(u"SHA-256 di " + item.file + u": " + Text(hex.begin(), hex.end()));
  }
}

// A request that the command line alone answers: a mistyped switch or the usage
// asked for. Nothing is installed, so no deployment takes the run for done; the
// usage shows only to someone at the desktop, never to an unattended session.
int AnswerFromCommandLine(Win32UserInterface& screen, const CommandLineRequest& request) {
  if (request.mode == RunMode::kInteractive) {
    screen.ShowMessage(UsageText(),
                       request.refused ? MessageStyle::kError : MessageStyle::kInformation, {});
  }
  return kExitInvalidCommandLine;
}

// Another setup is running: this one leaves the work to it.
int LeaveToRunningSetup(const InstallLog& log, RunMode mode) {
  log.Write(u"Un altro setup è in corso: questo non fa nulla.");
  if (mode == RunMode::kInteractive) Form1Window::BringRunningToFront();
  LogEnd(log, kExitTryLater);
  return kExitTryLater;
}

// The host services, the registry library and the target folder resolution of a
// run, built in the order in which they build on one another.
struct Services {
  Services(HINSTANCE instance, UserInterface& ui, const InstallLog& log)
      : package(instance),
        image(ImageFile::Prove(instance)),
        files(Image()),
        installationFolders(registry, ui),
        targetFolders(installationFolders, ui, files, &log) {}

  const ImageFile* Image() const { return image ? &*image : nullptr; }

  Win32Resources package;
  // Payloads are checked and written from the installer's own file where it is
  // proven to be; held from here on, so that nobody can write it.
  const std::optional<ImageFile> image;
  Win32FileSystem files;
  Win32Processes processes{&WaitAnsweringMessages};
  Win32PassProgress progress;
  Win32Registry registryApi;
  RegistryLibrary registry{registryApi};
  RestartManagerHolders holders;
  InstallationFolders installationFolders;
  TargetFolderResolver targetFolders;
};

// The payload as the program carries it, its digests logged.
PayloadContents LoggedPayload(Resources& package, const InstallLog& log) {
  PayloadContents payload = ReadPayload(package);
  LogCarriedDigests(log, payload);
  return payload;
}

// The window, and the check of the payload that runs beside it: every item is
// hashed while the window shows; nothing is written before.
struct CheckedWindow {
  CheckedWindow(HINSTANCE instance, Services& services, const InstallLog& log)
      : window(instance, kRetryIntervalMilliseconds, services.progress),
        check(LoggedPayload(services.package, log), services.Image(), window.Handle(),
              kPayloadCheckedMessage) {}

  Form1Window window;
  PayloadCheckThread check;
};

void ConnectHandlers(Form1Window& window, Form1& form, UnattendedRun* unattended) {
  window.SetHandlers(
      [&window, &form, unattended] {
        form.cmdAvviaConTimer_Click();
        // A press that neither ended the run nor left the timer to retry could not
        // read the package: unattended, nobody would ever press again.
        if (unattended != nullptr && !window.TimerEnabled()) unattended->End(kExitFailed);
      },
      [&form] { form.Timer_Timer(); }, [&form] { form.PayloadChecked(); });
}

// The window shown, or pressed by itself in an unattended run, until the run ends.
int RunWindow(Form1Window& window, RunMode mode, int showCommand, bool unattended) {
  if (mode != RunMode::kQuiet) window.Show(showCommand);
  if (unattended) window.PressStartLater();
  return RunMessageLoop(window.Handle());
}

// The run of the one setup that holds the claim: everything wired together, then
// the window until the run ends. Logs the end before anything is taken down.
int Install(HINSTANCE instance, int showCommand, RunMode mode, Win32UserInterface& screen,
            const InstallLog& log) {
  std::optional<UnattendedRun> unattended;
  if (mode != RunMode::kInteractive) {
    unattended.emplace(log, [&screen](int exitCode) { screen.EndProgramWith(exitCode); });
  }
  UnattendedRun* const unattendedRun = unattended ? &*unattended : nullptr;
  LoggedInterface ui(screen, log, unattendedRun);
  Services services(instance, ui, log);
  std::optional<CheckedWindow> shown;
  try {
    shown.emplace(instance, services, log);
  } catch (const std::exception&) {
    // Without its window or its check the installer can do nothing; say so to
    // whoever started it.
    LogEnd(log, kExitFailed);
    return kExitFailed;
  }
  screen.SetMainWindow(shown->window.Handle());
  services.progress.SetMainWindow(shown->window.Handle());
  Form1 form({services.package, ui, services.files, services.processes, services.progress, &log,
              unattendedRun, &services.holders},
             shown->window, services.targetFolders.Resolver(), shown->check);
  ConnectHandlers(shown->window, form, unattendedRun);
  const int exitCode = RunWindow(shown->window, mode, showCommand, unattendedRun != nullptr);
  LogEnd(log, exitCode);
  return exitCode;
}

}  // namespace
}  // namespace velbor

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // The installer runs elevated, often from a downloads folder.
  velbor::RestrictLibrarySearchToSystem();

  velbor::Win32UserInterface screen;
  const velbor::CommandLineRequest request =
      velbor::ReadCommandLine(velbor::SplitArguments(velbor::TextFromWide(GetCommandLineW())));
  if (request.refused || request.usageAsked) {
    return velbor::AnswerFromCommandLine(screen, request);
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
  velbor::LogHead(log, instance);

  velbor::Win32InstallerNames installerNames;
  if (!velbor::ClaimSingleInstaller(installerNames, log)) {
    return velbor::LeaveToRunningSetup(log, request.mode);
  }
  return velbor::Install(instance, showCommand, request.mode, screen, log);
}
