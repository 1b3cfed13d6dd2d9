#include "bench/payload_rounds.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "app/install_pass.h"
#include "app/item_table.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/windows_api.h"

namespace velbor::bench {
namespace {

using Clock = std::chrono::steady_clock;

template <typename Step>
double SecondsOf(Step step) {
  const Clock::time_point start = Clock::now();
  step();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Install(const InstallerHost& host, const Text& folder) {
  return SecondsOf([&] {
    ItemTable table = ItemTable::SizedFromPackage(host.package);
    if (!InstallPass(table, host, [&folder](const Text&) { return folder; })) {
      throw std::runtime_error("the installation pass failed");
    }
  });
}

// A copy as durable as an install: CopyFileW, then each copy forced to the disk.
double DurableCopy(const std::vector<std::wstring>& sources, const std::wstring& folder) {
  return SecondsOf([&] {
    for (const std::wstring& source : sources) {
      const std::wstring target = folder + source.substr(source.find_last_of(L'\\') + 1);
      if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) {
        throw std::runtime_error("CopyFileW failed with error " + std::to_string(GetLastError()));
      }
      UniqueFileHandle copy(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!copy.IsValid() || !FlushFileBuffers(copy.Get())) {
        throw std::runtime_error("flushing the copy failed with error " +
                                 std::to_string(GetLastError()));
      }
    }
  });
}

}  // namespace

RoundTimes RunRounds(const InstallerHost& host, const Text& folder,
                     const std::vector<std::wstring>& sources, const std::wstring& copyFolder,
                     int rounds) {
  Install(host, folder);
  DurableCopy(sources, copyFolder);
  RoundTimes times;
  for (int round = 0; round < rounds; ++round) {
    times.install.push_back(Install(host, folder));
    times.copy.push_back(DurableCopy(sources, copyFolder));
  }
  return times;
}

namespace {

// The file at `path` mapped whole for reading, with its size; no view when it is
// empty or cannot be mapped, and then no size either when it cannot be opened.
UniqueMappedView MapWhole(const std::wstring& path, std::optional<std::uint64_t>& size) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER length{};
  if (!file.IsValid() || !GetFileSizeEx(file.Get(), &length)) return {};
  size = static_cast<std::uint64_t>(length.QuadPart);
  if (*size == 0) return {};
  UniqueKernelHandle mapping(CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.IsValid()) return {};
  return UniqueMappedView(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
}

}  // namespace

bool SameContent(const std::wstring& path, const std::wstring& other) {
  std::optional<std::uint64_t> size;
  std::optional<std::uint64_t> otherSize;
  const UniqueMappedView view = MapWhole(path, size);
  const UniqueMappedView otherView = MapWhole(other, otherSize);
  if (!size || size != otherSize) return false;
  if (*size == 0) return true;
  return view.IsValid() && otherView.IsValid() &&
         std::memcmp(view.Get(), otherView.Get(), static_cast<std::size_t>(*size)) == 0;
}

double SecondsToTouch(ByteView bytes) {
  // One byte of every page, read through a volatile pointer so none is skipped.
  constexpr std::size_t kPage = 4096;
  volatile std::uint8_t sum = 0;
  return SecondsOf([&] {
    for (std::size_t at = 0; at < bytes.size(); at += kPage) {
      sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(bytes[at]));
    }
  });
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace velbor::bench
