#include "tests/win32/win32_test_support.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

#include "host/win32/unique_handle.h"

namespace velbor::testing {
namespace {

// Clears read-only and the like first: DeleteFileW refuses read-only files.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  UniqueFindHandle search(FindFirstFileW((folder + L"*").c_str(), &entry));
  if (search.IsValid()) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + L"\\");
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search.Get(), &entry));
  }
  search.Close();
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

Text MissingDrive() {
  const DWORD drives = GetLogicalDrives();
  for (char16_t letter = u'B'; letter <= u'Z'; ++letter) {
    if ((drives & (1u << (letter - u'A'))) == 0) return Text{letter, u':', u'\\'};
  }
  return Text();
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring Quoted(const std::wstring& text) {
  std::wstring quoted = L"\"";
  quoted += text;
  quoted += L'"';
  return quoted;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 24));
    if (!::ReadFile(file.Get(), bytes.data() + done, wanted, &read, nullptr) || read == 0) {
      return std::nullopt;
    }
    done += read;
  }
  return bytes;
}

std::optional<std::vector<std::uint8_t>> WaitForFile(const std::wstring& path,
                                                     std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto bytes = ReadWholeFile(path);
    if (bytes || std::chrono::steady_clock::now() > deadline) return bytes;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

ScratchFolder::ScratchFolder() {
  wchar_t temporary[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  const std::wstring base = std::wstring(temporary, length) + L"velbor-test-" +
                            std::to_wstring(GetCurrentProcessId()) + L"-";
  for (long long attempt = counter.QuadPart;; ++attempt) {
    const std::wstring candidate = base + std::to_wstring(attempt);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate + L"\\";
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      throw std::runtime_error("cannot create a scratch folder");
    }
  }
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

}  // namespace velbor::testing
