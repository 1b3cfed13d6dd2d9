#include "tests/e2e/installer_test.h"

#include <algorithm>
#include <stdexcept>

#include "host/win32/unique_handle.h"

namespace velbor::testing {

void InstallerTest::SetInstallationFolder(const std::wstring& folder) {
  installationFolder_.reset();
  installationFolder_.emplace(folder);
}

std::wstring InstallerTest::MakeFolder(const std::wstring& name) const {
  std::wstring folder = scratch_.Path();
  folder += name;
  if (!CreateDirectoryW(folder.c_str(), nullptr)) throw std::runtime_error("cannot make a folder");
  folder += L'\\';
  return folder;
}

std::wstring InstallerTest::MakeCorsentaFolder(const std::wstring& name) const {
  const std::wstring folder = MakeFolder(name);
  const UniqueFileHandle marker(CreateFileW((folder + L"Corsenta.exe").c_str(), GENERIC_WRITE, 0,
                                            nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!marker.IsValid()) throw std::runtime_error("cannot make the marker of Corsenta");
  return folder;
}

std::wstring InstallerTest::MakeInstallationWithCorsenta() {
  SetInstallationFolder(scratch_.Path());
  return MakeCorsentaFolder(L"Corsenta");
}

std::vector<std::wstring> InstallerTest::FileNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  const UniqueFindHandle search(FindFirstFileW((folder + L"*").c_str(), &entry));
  if (search.IsValid()) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
    } while (FindNextFileW(search.Get(), &entry));
  }
  std::sort(names.begin(), names.end());
  return names;
}

::testing::AssertionResult InstallerTest::HoldsExactly(const std::wstring& path,
                                                       const std::vector<std::uint8_t>& bytes) {
  const std::optional<std::vector<std::uint8_t>> held = ReadWholeFile(path);
  if (!held) return ::testing::AssertionFailure() << "the file cannot be read";
  const auto [mismatch, _] = std::mismatch(held->begin(), held->end(), bytes.begin(), bytes.end());
  if (held->size() == bytes.size() && mismatch == held->end()) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "the file holds " << held->size() << " bytes instead of " << bytes.size()
         << ", the first " << (mismatch - held->begin()) << " of them as expected";
}

std::wstring InstallerTest::TestInstaller(const std::wstring& package) {
  return ProgramFolder() + L"velbor_e2e_" + package + L".exe";
}

std::vector<std::uint8_t> InstallerTest::Payload(const std::wstring& package,
                                                 const std::wstring& name) {
  const std::wstring path = ProgramFolder() + L"velbor_e2e_" + package + L"-package\\" + name;
  std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
  if (!bytes) throw std::runtime_error("cannot read a payload of a test package");
  return std::move(*bytes);
}

bool WriteUnderWay(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  return UniqueFindHandle(FindFirstFileW((folder + L"~velbor*.tmp").c_str(), &entry)).IsValid();
}

}  // namespace velbor::testing
