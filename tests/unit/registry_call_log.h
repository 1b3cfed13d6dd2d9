#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/registry_api.h"
#include "tests/doubles/fake_registry.h"

namespace velbor::testing {

// The registry double's log in a form that a test can state in full: one line per
// call, such as "open #1 Velbor", "open #2 \"\"", "query #2 strPath for size" or "close #1 = 6".
// Handles read as the predefined root's short name, or #n for the n-th handle that
// the calls gave, so that the lines do not depend on handle values.
inline std::vector<std::string> CallLines(const std::vector<FakeRegistry::Call>& log) {
  std::map<RegKey, std::string> names{{reg::kClassesRoot, "HKCR"},
                                      {reg::kCurrentUser, "HKCU"},
                                      {reg::kLocalMachine, "HKLM"},
                                      {reg::kUsers, "HKU"},
                                      {reg::kCurrentConfig, "HKCC"}};
  int handlesGiven = 0;
  const auto nameOf = [&names](RegKey key) {
    const auto found = names.find(key);
    return found == names.end() ? std::to_string(key) : found->second;
  };
  const auto quoted = [](const std::string& name) { return name.empty() ? "\"\"" : name; };
  std::vector<std::string> lines;
  for (const FakeRegistry::Call& call : log) {
    std::string line;
    switch (call.function) {
      case FakeRegistry::Function::kOpen:
        line = "open " + nameOf(call.key) + " " + quoted(call.name);
        break;
      case FakeRegistry::Function::kCreate:
        line = "create " + nameOf(call.key) + " " + quoted(call.name);
        break;
      case FakeRegistry::Function::kQuery:
        line = "query " + nameOf(call.key) + " " + quoted(call.name) +
               (call.withBuffer ? " with buffer" : " for size");
        break;
      case FakeRegistry::Function::kClose:
        line = "close " + nameOf(call.key);
        break;
    }
    if (call.status != reg::kSuccess) line += " = " + std::to_string(call.status);
    if (call.result != 0 && !names.contains(call.result)) {
      names[call.result] = "#" + std::to_string(++handlesGiven);
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace velbor::testing
