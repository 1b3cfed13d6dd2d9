#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/registry_api.h"
#include "host/text.h"

namespace velbor::testing {

// The registry in memory, answering as the Windows functions do: every open gives
// a fresh handle, also of the empty name (only a predefined root opened by the
// empty name answers itself, as Windows documents); a missing key or value is 2, a
// handle that is not open 6, a buffer too small for the data 234. Key and value
// names are found without regard to letter case. Names and text data are
// Windows-1252, like the Wine prefix's ANSI code page.
//
// Tests can make calls fail, change a value between two queries, count the handles
// left open, and read a log of every call.
class FakeRegistry final : public RegistryApi {
 public:
  enum class Function { kOpen, kCreate, kQuery, kClose };

  struct Call {
    Function function;
    RegKey key = 0;
    std::string name{};  // subkey or value name
    std::uint32_t options = 0;
    std::uint32_t access = 0;
    RegKey result = 0;  // the handle that an open or a creation gave
    // RegCreateKeyExA only.
    std::uint32_t reserved = 0;
    std::string className{};
    SecurityAttributes security{};
    // RegQueryValueExA only: whether a buffer was given.
    bool withBuffer = false;
    std::int32_t status = 0;
  };

  FakeRegistry();
  FakeRegistry(const FakeRegistry&) = delete;
  FakeRegistry& operator=(const FakeRegistry&) = delete;

  // Arranging and checking behind the program's back, by "\"-separated paths below
  // a predefined root; missing keys are made on the way.
  void PutKey(RegKey root, const std::string& path);
  void PutValue(RegKey root, const std::string& path, const std::string& name, std::uint32_t type,
                std::vector<std::uint8_t> data);
  bool HasKey(RegKey root, const std::string& path);

  // Makes the `nth` next call of `function` answer `code` and change nothing; 1 is
  // the very next call. A close that fails leaves its handle open.
  void FailCall(Function function, int nth, std::int32_t code);

  // Runs `change` right after the next query has answered: where another program
  // could change the value between the size query and the data query.
  void AfterNextQuery(std::function<void()> change) { afterNextQuery_ = std::move(change); }

  // Handles that were opened or created and are not closed yet.
  int OpenHandleCount() const { return static_cast<int>(open_.size()); }
  const std::vector<Call>& Log() const { return log_; }

  std::int32_t RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, RegKey& result) override;
  std::int32_t RegCreateKeyExA(RegKey key, const std::string& subKey, std::uint32_t reserved,
                               const std::string& className, std::uint32_t options,
                               std::uint32_t access, const SecurityAttributes& security,
                               RegKey& result, std::uint32_t& disposition) override;
  std::int32_t RegQueryValueExA(RegKey key, const std::string& valueName, std::uint32_t& type,
                                std::uint8_t* data, std::uint32_t& size) override;
  std::int32_t RegCloseKey(RegKey key) override;

  std::string AnsiFromText(const Text& text) override;
  Text TextFromAnsi(std::string_view ansi) override;

 private:
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };

  struct Key {
    std::map<Text, std::unique_ptr<Key>> subkeys;  // by folded name
    std::map<Text, Value> values;                  // by folded name
  };

  struct PlannedFailure {
    Function function;
    int callsToGo;
    std::int32_t code;
  };

  static Text Folded(const std::string& name);
  // The key that a handle stands for, or null when it is not open.
  Key* Resolve(RegKey key);
  // The key at `path` below `from`, made on the way when `create` is set; null when
  // a piece is missing. `created` tells whether the last piece was made.
  static Key* Descend(Key& from, const std::string& path, bool create, bool* created = nullptr);
  Key& Root(RegKey root);
  RegKey NewHandle(Key& key);
  std::optional<std::int32_t> PlannedCode(Function function);
  std::int32_t Logged(Call call);

  std::map<RegKey, Key> roots_;
  std::map<RegKey, Key*> open_;
  RegKey nextHandle_ = 0x1000;
  std::vector<PlannedFailure> planned_;
  std::function<void()> afterNextQuery_;
  std::vector<Call> log_;
};

}  // namespace velbor::testing
