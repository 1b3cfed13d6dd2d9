// The installer's start-up: the host services, the registry library, the target
// folder resolution and the window, wired together; then the window waits.
#include "app/form1.h"
#include "app/win32/form1_window.h"
#include "host/win32/library_search.h"
#include "host/win32/win32_file_system.h"
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
  velbor::Win32FileSystem files;
  velbor::Win32Processes processes;
  velbor::Win32Registry registryApi;
  velbor::RegistryLibrary registry(registryApi);
  velbor::InstallationFolders installationFolders(registry, ui);
  velbor::TargetFolderResolver targetFolders(installationFolders, ui, files);

  velbor::Form1Window window(instance, VELBOR_TIMER_MS);
  ui.SetMainWindow(window.Handle());
  velbor::Form1 form({package, ui, files, processes}, window, targetFolders.Resolver());
  window.SetHandlers([&form] { form.cmdAvviaConTimer_Click(); }, [&form] { form.Timer_Timer(); });
  window.Show(showCommand);
  return velbor::RunMessageLoop(window.Handle());
}
