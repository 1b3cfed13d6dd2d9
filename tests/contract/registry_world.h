#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/registry_api.h"

namespace velbor::testing {

// A registry under test together with the means to arrange and inspect it behind
// its back. The same contract cases run against the registry double natively and
// against the real registry under Wine, so that the two cannot drift apart.
//
// Everything a case writes goes below the scratch key, which exists, empty, for the
// world's life and goes afterwards with everything below it.
class RegistryWorld {
 public:
  // Below HKEY_CURRENT_USER.
  static constexpr char kScratchKey[] = "Software\\VelborRegistryTests";

  virtual ~RegistryWorld() = default;

  virtual RegistryApi& Registry() = 0;

  // Paths are "\"-separated and below the scratch key ("" is the scratch key
  // itself); missing keys are made on the way.
  virtual void PutKey(const std::string& path) = 0;
  virtual void PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                        const std::vector<std::uint8_t>& data) = 0;
  virtual bool HasKey(const std::string& path) = 0;
};

// Each platform's test program defines this for the registry it tests.
std::unique_ptr<RegistryWorld> MakeRegistryWorld();

}  // namespace velbor::testing
