#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "tests/win32/installation_folder_setting.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {

// What every case starts from: a scratch folder of its own, in which the case lays
// out the folders that the installer is to find, and ways to look at what the
// installer left there.
class InstallerTest : public ::testing::Test {
 protected:
  // Points the installer at `folder` for the rest of the case.
  void SetInstallationFolder(const std::wstring& folder);

  // A new folder `name` in the scratch folder, with its trailing "\".
  std::wstring MakeFolder(const std::wstring& name) const;

  // A folder holding the marker of Corsenta, which proves it to the installer.
  std::wstring MakeCorsentaFolder(const std::wstring& name) const;

  // The usual layout: the scratch folder as the maker's installation folder, with
  // a proven folder of Corsenta in it; answers that folder.
  std::wstring MakeInstallationWithCorsenta();

  // The names of the files in `folder`, sorted.
  static std::vector<std::wstring> FileNames(const std::wstring& folder);

  // Whether the file at `path` holds exactly `bytes`, and where it differs if not.
  static ::testing::AssertionResult HoldsExactly(const std::wstring& path,
                                                 const std::vector<std::uint8_t>& bytes);

  // An installer of a test package, built beside this program.
  static std::wstring TestInstaller(const std::wstring& package);

  // A payload of a test package, as the build made it.
  static std::vector<std::uint8_t> Payload(const std::wstring& package, const std::wstring& name);

  const std::wstring& Scratch() const { return scratch_.Path(); }

 private:
  ScratchFolder scratch_;
  std::optional<InstallationFolderSetting> installationFolder_;
};

// Whether a temporary file of the installer's is in `folder`: a write is under way.
bool WriteUnderWay(const std::wstring& folder);

}  // namespace velbor::testing
