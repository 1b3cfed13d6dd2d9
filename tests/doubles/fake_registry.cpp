#include "tests/doubles/fake_registry.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "tests/doubles/case_folding.h"
#include "tests/doubles/windows_1252.h"

namespace velbor::testing {

FakeRegistry::FakeRegistry() {
  for (const RegKey root : {reg::kClassesRoot, reg::kCurrentUser, reg::kLocalMachine, reg::kUsers,
                            reg::kPerformanceData, reg::kCurrentConfig, reg::kDynData}) {
    roots_[root];
  }
}

void FakeRegistry::PutKey(RegKey root, const std::string& path) { Descend(Root(root), path, true); }

void FakeRegistry::PutValue(RegKey root, const std::string& path, const std::string& name,
                            std::uint32_t type, std::vector<std::uint8_t> data) {
  Descend(Root(root), path, true)->values[Folded(name)] = Value{type, std::move(data)};
}

bool FakeRegistry::HasKey(RegKey root, const std::string& path) {
  return Descend(Root(root), path, false) != nullptr;
}

void FakeRegistry::FailCall(Function function, int nth, std::int32_t code) {
  planned_.push_back({function, nth, code});
}

std::int32_t FakeRegistry::RegOpenKeyExA(RegKey key, const std::string& subKey,
                                         std::uint32_t options, std::uint32_t access,
                                         RegKey& result) {
  Call call{.function = Function::kOpen,
            .key = key,
            .name = subKey,
            .options = options,
            .access = access};
  call.status = [&]() -> std::int32_t {
    if (const std::optional<std::int32_t> code = PlannedCode(Function::kOpen)) return *code;
    Key* parent = Resolve(key);
    if (parent == nullptr) return reg::kInvalidHandle;
    Key* opened = Descend(*parent, subKey, false);
    if (opened == nullptr) return reg::kFileNotFound;
    result = subKey.empty() && roots_.contains(key) ? key : NewHandle(*opened);
    call.result = result;
    return reg::kSuccess;
  }();
  return Logged(std::move(call));
}

std::int32_t FakeRegistry::RegCreateKeyExA(RegKey key, const std::string& subKey,
                                           std::uint32_t reserved, const std::string& className,
                                           std::uint32_t options, std::uint32_t access,
                                           const SecurityAttributes& security, RegKey& result,
                                           std::uint32_t& disposition) {
  Call call{.function = Function::kCreate,
            .key = key,
            .name = subKey,
            .options = options,
            .access = access,
            .reserved = reserved,
            .className = className,
            .security = security};
  call.status = [&]() -> std::int32_t {
    if (const std::optional<std::int32_t> code = PlannedCode(Function::kCreate)) return *code;
    Key* parent = Resolve(key);
    if (parent == nullptr) return reg::kInvalidHandle;
    bool created = false;
    result = NewHandle(*Descend(*parent, subKey, true, &created));
    call.result = result;
    disposition = created ? 1 : 2;  // REG_CREATED_NEW_KEY, REG_OPENED_EXISTING_KEY
    return reg::kSuccess;
  }();
  return Logged(std::move(call));
}

std::int32_t FakeRegistry::RegQueryValueExA(RegKey key, const std::string& valueName,
                                            std::uint32_t& type, std::uint8_t* data,
                                            std::uint32_t& size) {
  Call call{
      .function = Function::kQuery, .key = key, .name = valueName, .withBuffer = data != nullptr};
  call.status = [&]() -> std::int32_t {
    if (const std::optional<std::int32_t> code = PlannedCode(Function::kQuery)) return *code;
    Key* holder = Resolve(key);
    if (holder == nullptr) return reg::kInvalidHandle;
    const auto found = holder->values.find(Folded(valueName));
    if (found == holder->values.end()) return reg::kFileNotFound;
    const Value& value = found->second;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    type = value.type;
    if (data != nullptr && size < needed) {
      size = needed;
      return reg::kMoreData;
    }
    if (data != nullptr) std::copy(value.data.begin(), value.data.end(), data);
    size = needed;
    return reg::kSuccess;
  }();
  const std::int32_t status = Logged(std::move(call));
  if (afterNextQuery_) std::exchange(afterNextQuery_, nullptr)();
  return status;
}

std::int32_t FakeRegistry::RegCloseKey(RegKey key) {
  Call call{.function = Function::kClose, .key = key};
  call.status = [&]() -> std::int32_t {
    if (const std::optional<std::int32_t> code = PlannedCode(Function::kClose)) return *code;
    if (roots_.contains(key)) return reg::kSuccess;
    return open_.erase(key) == 1 ? reg::kSuccess : reg::kInvalidHandle;
  }();
  return Logged(std::move(call));
}

std::string FakeRegistry::AnsiFromText(const Text& text) { return Windows1252FromText(text); }

Text FakeRegistry::TextFromAnsi(std::string_view ansi) { return TextFromWindows1252(ansi); }

Text FakeRegistry::Folded(const std::string& name) { return FoldCase(TextFromWindows1252(name)); }

FakeRegistry::Key* FakeRegistry::Resolve(RegKey key) {
  if (const auto root = roots_.find(key); root != roots_.end()) return &root->second;
  const auto opened = open_.find(key);
  return opened == open_.end() ? nullptr : opened->second;
}

FakeRegistry::Key* FakeRegistry::Descend(Key& from, const std::string& path, bool create,
                                         bool* created) {
  Key* key = &from;
  bool made = false;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const Text name = Folded(path.substr(start, end - start));
    start = end + 1;
    if (name.empty()) continue;
    auto found = key->subkeys.find(name);
    made = found == key->subkeys.end();
    if (made) {
      if (!create) return nullptr;
      found = key->subkeys.emplace(name, std::make_unique<Key>()).first;
    }
    key = found->second.get();
  }
  if (created != nullptr) *created = made;
  return key;
}

FakeRegistry::Key& FakeRegistry::Root(RegKey root) {
  const auto found = roots_.find(root);
  if (found == roots_.end()) throw std::logic_error("not a predefined root");
  return found->second;
}

RegKey FakeRegistry::NewHandle(Key& key) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  open_[handle] = &key;
  return handle;
}

std::optional<std::int32_t> FakeRegistry::PlannedCode(Function function) {
  std::optional<std::int32_t> code;
  for (PlannedFailure& planned : planned_) {
    if (planned.function == function && --planned.callsToGo == 0) code = planned.code;
  }
  std::erase_if(planned_, [](const PlannedFailure& planned) { return planned.callsToGo <= 0; });
  return code;
}

std::int32_t FakeRegistry::Logged(Call call) {
  log_.push_back(std::move(call));
  return log_.back().status;
}

}  // namespace velbor::testing
