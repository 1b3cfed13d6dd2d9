#include "tests/e2e/process_trace.h"

#include <cwchar>

#include "host/win32/unique_handle.h"

namespace velbor::testing {
namespace {

// One field a line, in UTF-16 as the command line comes.
constexpr wchar_t kSeparator = L'\n';

std::wstring ShowWindowOfThisProcess() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : L"-";
}

std::wstring CurrentFolder() {
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

}  // namespace

std::wstring ModuleFilePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool WriteProcessTrace(const std::wstring& path) {
  std::wstring trace = std::to_wstring(GetCurrentProcessId());
  trace += kSeparator;
  trace += ModuleFilePath(nullptr);
  trace += kSeparator;
  trace += ShowWindowOfThisProcess();
  trace += kSeparator;
  trace += CurrentFolder();
  trace += kSeparator;
  trace += GetCommandLineW();

  const std::wstring partial = path + L".partial";
  {
    UniqueFileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    const auto size = static_cast<DWORD>(trace.size() * sizeof(wchar_t));
    if (!file.IsValid() || !WriteFile(file.Get(), trace.data(), size, &written, nullptr) ||
        written != size || !file.Close()) {
      return false;
    }
  }
  return MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

std::optional<ProcessTrace> ParseProcessTrace(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() % sizeof(wchar_t) != 0) return std::nullopt;
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<wchar_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  }
  // The fields before the command line, which may hold anything.
  std::vector<std::wstring> fields;
  std::size_t start = 0;
  while (fields.size() < 4) {
    const std::size_t end = text.find(kSeparator, start);
    if (end == std::wstring::npos) return std::nullopt;
    fields.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  ProcessTrace trace;
  trace.processId = static_cast<DWORD>(std::wcstoul(fields[0].c_str(), nullptr, 10));
  trace.program = fields[1];
  trace.showWindow = fields[2];
  trace.currentFolder = fields[3];
  trace.commandLine = text.substr(start);
  return trace;
}

bool WaitForProcessEnd(DWORD processId, std::chrono::milliseconds timeout) {
  const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  return !process.IsValid() ||
         WaitForSingleObject(process.Get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

}  // namespace velbor::testing
