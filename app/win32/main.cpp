// The installer's start-up: the host services, the registry library, the target
// folder resolution and the window, wired together; then the window waits.
#include <exception>
#include <optional>

#include "app/form1.h"
#include "app/win32/form1_window.h"
#include "app/win32/payload_check_thread.h"
#include "host/application.h"
#include "host/failure.h"
#include "host/win32/library_search.h"
#include "host/win32/win32_file_system.h"
#include "host/win32/win32_pass_progress.h"
#include "host/win32/win32_processes.h"
#include "host/win32/win32_registry.h"
#include "host/win32/win32_resources.h"
#include "host/win32/win32_user_interface.h"
#include "paths/installation_folders.h"
#include "paths/target_folder_resolver.h"
#include "registry/registry_library.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // The installer runs elevated, often from a downloads folder.
  velbor::RestrictLibrarySearchToSystem();

  velbor::Win32Resources package(instance);
  velbor::Win32UserInterface ui;
  // Payloads are checked and written from the installer's own file where it is
  // proven to be; held from here on, so that nobody can write it.
  const std::optional<velbor::ImageFile> image = velbor::ImageFile::Prove(instance);
  const velbor::ImageFile* imageFile = image ? &*image : nullptr;
  velbor::Win32FileSystem files(imageFile);
  velbor::Win32Processes processes;
  velbor::Win32PassProgress progress;
  velbor::Win32Registry registryApi;
  velbor::RegistryLibrary registry(registryApi);
  velbor::InstallationFolders installationFolders(registry, ui);
  velbor::TargetFolderResolver targetFolders(installationFolders, ui, files);

  std::optional<velbor::Form1Window> window;
  std::optional<velbor::PayloadCheckThread> payloadCheck;
  try {
    window.emplace(instance, VELBOR_TIMER_MS, progress);
    // Every item is hashed while the window shows; nothing is written before.
    payloadCheck.emplace(velbor::ReadPayload(package), imageFile, window->Handle(),
                         velbor::kPayloadCheckedMessage);
  } catch (const std::exception&) {
    // Without its window or its check the installer can do nothing; say so to
    // whoever started it.
    return velbor::kExitFailed;
  }
  ui.SetMainWindow(window->Handle());
  progress.SetMainWindow(window->Handle());
  velbor::Form1 form({package, ui, files, processes, progress}, *window, targetFolders.Resolver(),
                     *payloadCheck);
  window->SetHandlers([&form] { form.cmdAvviaConTimer_Click(); }, [&form] { form.Timer_Timer(); },
                      [&form] { form.PayloadChecked(); });
  window->Show(showCommand);
  return velbor::RunMessageLoop(window->Handle());
}
