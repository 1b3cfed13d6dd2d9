#pragma once

#include <string>
#include <vector>

#include "app/installer_host.h"
#include "host/text.h"

namespace velbor::bench {

// Seconds taken by each timed round.
struct RoundTimes {
  std::vector<double> install;
  std::vector<double> copy;
};

// Alternates `rounds` installations of the package into `folder` (through the real
// pass, with `folder` as every template's answer) with as many durable copies of
// the `sources`, the files of its items, into `copyFolder` (CopyFileW, then each
// copy flushed), after one untimed round of each that warms the cache. Throws when
// a pass fails or a copy is refused.
RoundTimes RunRounds(const InstallerHost& host, const Text& folder,
                     const std::vector<std::wstring>& sources, const std::wstring& copyFolder,
                     int rounds);

// Whether the files at `path` and `other` hold the same bytes; read through
// mappings, so that checking adds nothing to the private bytes.
bool SameContent(const std::wstring& path, const std::wstring& other);

// The time to read one byte of every page of `bytes`: what page faults on a mapped
// payload cost this machine, which an install pays and a copy from a file does not.
double SecondsToTouch(ByteView bytes);

double Median(std::vector<double> values);

}  // namespace velbor::bench
