#include "host/win32/library_search.h"

#include <array>
#include <string>

#include "host/win32/system_function.h"
#include "host/win32/wide_text.h"
#include "host/win32/win32_processes.h"
#include "host/win32/windows_api.h"

namespace velbor {
namespace {

// Each with what loads it into this program, by name, after start-up. The program
// imports only known libraries itself, and the common controls come from the
// side-by-side store that its manifest names, never from a folder's search. Kept
// to what the window, the boxes, the taskbar button and starting a tool use: one
// more costs a load at start-up on Windows 7 only, one missing lets a library of
// that name beside the program into the elevated process.
//
// COM, for the taskbar button: ole32 and oleaut32, which CoInitializeEx and
// CoCreateInstance run in, and clbcatq and rpcrt4, which they load by name to find
// a class and to reach the COM service, are among Windows 7's known libraries and
// always come from the system folder, so they are not listed.
constexpr std::array<const wchar_t*, 10> kLateLoadedSystemLibraries = {
    // Themes: user32 loads it to draw the window's frame and the boxes, the common
    // controls to draw the button and the text field.
    L"uxtheme.dll",
    // The desktop window manager, which the themes and the controls ask about
    // composition.
    L"dwmapi.dll",
    // Blending of images, with which the themes and the controls draw.
    L"msimg32.dll",
    // Icons stored as PNG images: the boxes' large icons on a screen of high DPI.
    L"windowscodecs.dll",
    // Accessibility: the controls answer a screen reader through it.
    L"oleacc.dll",
    // Cryptography: advapi32's random numbers and memory encryption, which it
    // loads on first use.
    L"cryptbase.dll",
    // The compatibility checks that CreateProcessW makes before a registration tool
    // starts.
    L"apphelp.dll",
    // Version information of files, which those checks read.
    L"version.dll",
    // The taskbar button's class (CLSID_TaskbarList) on Windows 7, which COM loads
    // from its registered path when the button appears. Loaded here first, from
    // the system folder with the search moved there, its own imports (the user
    // interface libraries duser and dui70 among them) come from the system folder
    // too, whatever flags COM loads it with.
    L"explorerframe.dll",
    // The property system, which the taskbar button's class and the shell load by
    // name for the window's properties; not a known library on Windows 7.
    L"propsys.dll",
};

}  // namespace

std::span<const wchar_t* const> LateLoadedSystemLibraries() { return kLateLoadedSystemLibraries; }

void RestrictLibrarySearchToSystem() {
  // Windows 8 and later, and Windows 7 with its library-loading update, can limit
  // the search to the system folder outright.
  using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD);
  if (auto* setDefault = SystemFunction<SetDefaultDllDirectoriesFunction>(
          L"kernel32.dll", "SetDefaultDllDirectories");
      setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return;
  }
  RestrictLibrarySearchWithoutDefaultDirectories();
}

void RestrictLibrarySearchWithoutDefaultDirectories() {
  // The current folder leaves the search, for libraries and for programs searched
  // by name.
  SetDllDirectoryW(L"");
  SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
  std::wstring folder;
  try {
    folder = WideFromText(Win32Processes().SystemFolder()) + L'\\';
  } catch (...) {
    return;  // no system folder to load from; the search stays as it was
  }
  for (const wchar_t* name : kLateLoadedSystemLibraries) {
    // The libraries that this one imports are searched from the system folder
    // too, not from the program's. Each stays loaded for the program's whole run,
    // which is the point. Every one is part of Windows 7; should one fail to load,
    // the others still do.
    LoadLibraryExW((folder + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
}

}  // namespace velbor
