#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/registry_api.h"
#include "host/text.h"
#include "paths/installation_folders.h"
#include "registry/registry_library.h"
#include "tests/doubles/fake_registry.h"
#include "tests/doubles/operation.h"
#include "tests/doubles/scripted_host.h"
#include "tests/doubles/windows_1252.h"

namespace velbor::testing {

// The registry keys that the installation folder lookups read, below
// HKEY_LOCAL_MACHINE.
inline constexpr char kWindowsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kVelborKey[] = "Software\\Velbor\\Installazione";

// The lookups over the registry double, with the scripted host as the user.
class PathsTest : public ::testing::Test {
 protected:
  // A REG_SZ value with its closing NUL, as Windows stores one.
  void PutText(const char* key, const char* name, const Text& text) {
    std::string data = Windows1252FromText(text);
    data += '\0';
    PutData(key, name, reg::kTypeSz, {data.begin(), data.end()});
  }

  void PutData(const char* key, const char* name, std::uint32_t type,
               std::vector<std::uint8_t> data) {
    registry_.PutValue(reg::kLocalMachine, key, name, type, std::move(data));
  }

  // A value whose conversion to text raises the invalid-argument failure.
  void PutUnreadable(const char* key, const char* name) {
    PutData(key, name, reg::kTypeDword, {1, 2, 3});
  }

  // What the host was asked about `operation`, in call order.
  std::vector<Text> SubjectsOf(Operation operation) const {
    std::vector<Text> subjects;
    for (const ScriptedHost::Call& call : host_.Log()) {
      if (call.operation == operation) subjects.push_back(call.subject);
    }
    return subjects;
  }

  FakeRegistry registry_;
  RegistryLibrary library_{registry_};
  ScriptedHost host_;
  InstallationFolders folders_{library_, host_};
};

}  // namespace velbor::testing
