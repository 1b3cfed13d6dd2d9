// Started by the user-interface tests: ends itself through EndProgram with a
// window set, and notes in the file named by its argument what happened.
#include <string>

#include "host/win32/unique_handle.h"
#include "host/win32/win32_user_interface.h"
#include "host/win32/windows_api.h"

namespace {

void Note(const std::wstring& trace, const char* text) {
  velbor::UniqueFileHandle file(CreateFileW(trace.c_str(), FILE_APPEND_DATA, 0, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), text, static_cast<DWORD>(std::char_traits<char>::length(text)), &written,
            nullptr);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    Note(reinterpret_cast<const wchar_t*>(GetWindowLongPtrW(window, GWLP_USERDATA)),
         "window destroyed\n");
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argumentCount, wchar_t** arguments) {
  if (argumentCount != 2) return 2;
  const std::wstring trace = arguments[1];
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"VelborEndProgramHelper";
  if (RegisterClassW(&windowClass) == 0) return 2;
  HWND window = CreateWindowW(L"VelborEndProgramHelper", L"Helper", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                              100, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 2;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(trace.c_str()));

  velbor::Win32UserInterface ui;
  ui.SetMainWindow(window);
  // Called through the interface, so that the compiler keeps what follows.
  static_cast<velbor::UserInterface&>(ui).EndProgram();
  Note(trace, "EndProgram returned\n");
  return 3;
}
