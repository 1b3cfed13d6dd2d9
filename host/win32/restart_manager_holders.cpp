#include "host/win32/restart_manager_holders.h"

#include <restartmanager.h>

#include <optional>
#include <string>

#include "host/win32/wide_text.h"

namespace velbor {
namespace {

using StartSession = decltype(&RmStartSession);
using RegisterResources = decltype(&RmRegisterResources);
using GetList = decltype(&RmGetList);
using EndSession = decltype(&RmEndSession);

template <typename Function>
Function Lookup(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// A Restart Manager session, ended by the library's own RmEndSession, found at run
// time. Nothing means none: a started session may have any number.
struct SessionTraits {
  using Handle = std::optional<DWORD>;
  static Handle Invalid() noexcept { return std::nullopt; }
  bool Close(Handle session) const noexcept { return end(*session) == ERROR_SUCCESS; }

  EndSession end = nullptr;
};
using UniqueSession = UniqueHandle<SessionTraits>;

UniqueSession StartedSession(StartSession start, EndSession end) {
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
  if (start(&session, 0, key) != ERROR_SUCCESS) return UniqueSession();
  return UniqueSession(session, SessionTraits{end});
}

FileHolder HolderOf(const RM_PROCESS_INFO& process) {
  FileHolder holder;
  holder.processId = process.Process.dwProcessId;
  holder.service = process.ApplicationType == RmService;
  const wchar_t* name =
      process.strAppName[0] != L'\0' ? process.strAppName : process.strServiceShortName;
  holder.name = TextFromWide(std::wstring_view(name, wcsnlen(name, CCH_RM_MAX_APP_NAME)));
  return holder;
}

}  // namespace

HMODULE RestartManagerHolders::Library() {
  if (looked_) return library_.Get();
  looked_ = true;
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  path += L"\\rstrtmgr.dll";
  // Its own libraries are then looked for beside it, in the system folder, first.
  library_ = UniqueModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  return library_.Get();
}

std::vector<FileHolder> RestartManagerHolders::HoldersOf(const Text& path) noexcept {
  std::vector<FileHolder> holders;
  try {
    const HMODULE library = Library();
    if (library == nullptr) return holders;
    const auto start = Lookup<StartSession>(library, "RmStartSession");
    const auto registerResources = Lookup<RegisterResources>(library, "RmRegisterResources");
    const auto getList = Lookup<GetList>(library, "RmGetList");
    const auto end = Lookup<EndSession>(library, "RmEndSession");
    if (start == nullptr || registerResources == nullptr || getList == nullptr || end == nullptr) {
      return holders;
    }
    const UniqueSession session = StartedSession(start, end);
    if (!session.IsValid()) return holders;
    const DWORD handle = *session.Get();
    const std::wstring file = WideNameFromText(path);
    LPCWSTR files[] = {file.c_str()};
    if (registerResources(handle, 1, files, 0, nullptr, 0, nullptr) != ERROR_SUCCESS) {
      return holders;
    }
    // The list may grow between asking its size and reading it; ask again then.
    std::vector<RM_PROCESS_INFO> processes;
    for (int attempt = 0; attempt < 3; ++attempt) {
      UINT needed = 0;
      UINT count = static_cast<UINT>(processes.size());
      DWORD reasons = 0;
      const DWORD result = getList(handle, &needed, &count, processes.data(), &reasons);
      if (result == ERROR_SUCCESS) {
        for (UINT at = 0; at < count && at < processes.size(); ++at) {
          holders.push_back(HolderOf(processes[at]));
        }
        return holders;
      }
      if (result != ERROR_MORE_DATA) return holders;
      processes.resize(needed);
    }
  } catch (...) {
    // Naming the holders only explains a failure; without them it stays as it was.
    holders.clear();
  }
  return holders;
}

}  // namespace velbor
