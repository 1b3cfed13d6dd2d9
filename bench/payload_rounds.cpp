#include "bench/payload_rounds.h"

#include <algorithm>
#include <chrono>
#include <cstring>
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

// A copy as durable as an install: CopyFileW, then the copy forced to the disk.
double DurableCopy(const std::wstring& source, const std::wstring& target) {
  return SecondsOf([&] {
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) {
      throw std::runtime_error("CopyFileW failed with error " + std::to_string(GetLastError()));
    }
    UniqueFileHandle copy(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!copy.IsValid() || !FlushFileBuffers(copy.Get())) {
      throw std::runtime_error("flushing the copy failed with error " +
                               std::to_string(GetLastError()));
    }
  });
}

}  // namespace

RoundTimes RunRounds(const InstallerHost& host, const Text& folder, const std::wstring& source,
                     int rounds) {
  const std::wstring copyTarget = WideFromText(folder) + L"Copia.zip";
  Install(host, folder);
  DurableCopy(source, copyTarget);
  RoundTimes times;
  for (int round = 0; round < rounds; ++round) {
    times.install.push_back(Install(host, folder));
    times.copy.push_back(DurableCopy(source, copyTarget));
  }
  return times;
}

bool FileHolds(const std::wstring& path, ByteView bytes) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size)) return false;
  if (static_cast<std::uint64_t>(size.QuadPart) != bytes.size()) return false;
  if (bytes.empty()) return true;
  UniqueKernelHandle mapping(CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.IsValid()) return false;
  const void* view = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0);
  if (view == nullptr) return false;
  const bool same = std::memcmp(view, bytes.data(), bytes.size()) == 0;
  UnmapViewOfFile(view);
  return same;
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
