#include "tests/e2e/regasm_placement.h"

#include <stdexcept>
#include <thread>

#include "host/win32/unique_handle.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

constexpr wchar_t kTracePrefix[] = L"regasm-";
constexpr wchar_t kTraceSuffix[] = L".trace";

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

RegasmPlacement::RegasmPlacement(const std::wstring& standIn) {
  const std::wstring tool = kToolPath;
  folder_ = tool.substr(0, tool.find_last_of(L'\\') + 1);
  // Makes the missing folders from the outermost in.
  for (std::size_t end = folder_.find(L'\\', 3); end != std::wstring::npos;
       end = folder_.find(L'\\', end + 1)) {
    const std::wstring folder = folder_.substr(0, end);
    if (CreateDirectoryW(folder.c_str(), nullptr)) {
      madeFolders_.push_back(folder);
    } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
      throw std::runtime_error("cannot make the folder of regasm");
    }
  }
  if (!CopyFileW(standIn.c_str(), kToolPath, TRUE)) {
    throw std::runtime_error("cannot place the stand-in for regasm (is there a real one?)");
  }
}

RegasmPlacement::~RegasmPlacement() {
  for (const std::wstring& trace : TraceFiles(false)) DeleteFileW(trace.c_str());
  DeleteFileW(kToolPath);
  for (auto folder = madeFolders_.rbegin(); folder != madeFolders_.rend(); ++folder) {
    RemoveDirectoryW(folder->c_str());
  }
}

std::vector<std::wstring> RegasmPlacement::TraceFiles(bool finishedOnly) const {
  std::vector<std::wstring> traces;
  WIN32_FIND_DATAW entry;
  const UniqueFindHandle search(FindFirstFileW((folder_ + kTracePrefix + L"*").c_str(), &entry));
  if (!search.IsValid()) return traces;
  do {
    if (!finishedOnly || EndsWith(entry.cFileName, kTraceSuffix)) {
      traces.push_back(folder_ + entry.cFileName);
    }
  } while (FindNextFileW(search.Get(), &entry));
  return traces;
}

std::vector<ProcessTrace> RegasmPlacement::WaitForRuns(std::size_t count,
                                                       std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (TraceFiles(true).size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::vector<ProcessTrace> runs;
  for (const std::wstring& file : TraceFiles(true)) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(file);
    if (!bytes) continue;
    if (std::optional<ProcessTrace> run = ParseProcessTrace(*bytes)) {
      WaitForProcessEnd(run->processId, timeout);
      runs.push_back(std::move(*run));
    }
  }
  return runs;
}

}  // namespace velbor::testing
