#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tests/e2e/process_trace.h"

namespace velbor::testing {

// The stand-in for regasm.exe, copied to the fixed path at which the installer
// starts regasm, for as long as this lives. Refuses to replace a regasm that is
// there already. Afterwards the copy, its traces and the folders made for it go.
class RegasmPlacement {
 public:
  // The fixed path of regasm.exe of the .NET Framework 2.0.
  static constexpr wchar_t kToolPath[] =
      L"C:\\WINDOWS\\Microsoft.NET\\Framework\\v2.0.50727\\regasm.exe";

  explicit RegasmPlacement(const std::wstring& standIn);
  RegasmPlacement(const RegasmPlacement&) = delete;
  RegasmPlacement& operator=(const RegasmPlacement&) = delete;
  ~RegasmPlacement();

  // Waits until `count` runs have left their traces, and each run has ended;
  // answers the traces found by then.
  std::vector<ProcessTrace> WaitForRuns(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  // The traces in the folder; with `finishedOnly`, without those still being
  // written, which have a further ending.
  std::vector<std::wstring> TraceFiles(bool finishedOnly) const;

  std::wstring folder_;
  std::vector<std::wstring> madeFolders_;
};

}  // namespace velbor::testing
