#pragma once

#include <array>
#include <cstddef>

#include "host/registry_api.h"
#include "registry/key_path.h"
#include "registry/registry_library.h"

namespace velbor {

// The keys that one walk down a key path opens. When the walk ends, however it
// ends, every one of them but the one handed on is closed, in the order they were
// opened; the results of those closes do not matter and are not recorded.
class WalkedKeys {
 public:
  explicit WalkedKeys(RegistryApi& api) noexcept : api_(api) {}
  WalkedKeys(const WalkedKeys&) = delete;
  WalkedKeys& operator=(const WalkedKeys&) = delete;
  ~WalkedKeys();

  // A walk opens one key per piece of its path, so at most kMaxKeyPathParts.
  void Add(RegKey key) noexcept { keys_[count_++] = key; }

  // The key opened last, which is then no longer closed.
  RegKey HandOnLast() noexcept { return keys_[--count_]; }

 private:
  RegistryApi& api_;
  std::array<RegKey, kMaxKeyPathParts> keys_{};
  std::size_t count_ = 0;
};

// A key that an operation opened for its own use, closed with CloseKey when the
// operation ends, however it ends, so that a failed close is recorded. The key 0 of
// an empty key path stands for nothing opened and is not closed.
class OwnKey {
 public:
  OwnKey(RegistryLibrary& library, RegKey key) noexcept : library_(library), key_(key) {}
  OwnKey(const OwnKey&) = delete;
  OwnKey& operator=(const OwnKey&) = delete;
  ~OwnKey() {
    if (key_ != 0) library_.CloseKey(key_);
  }

  RegKey Get() const noexcept { return key_; }

 private:
  RegistryLibrary& library_;
  RegKey key_;
};

}  // namespace velbor
