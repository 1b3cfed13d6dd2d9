#include "app/install_log.h"

#include <cstdio>

namespace velbor {
namespace {

constexpr char kIndent[] = "                         ";

// "2026-12-09 02:01:41.123  ", as wide as kIndent.
std::string DatePrefix(const LocalTime& when) {
  char prefix[64];
  const int length = std::snprintf(prefix, sizeof prefix, "%04d-%02d-%02d %02d:%02d:%02d.%03d  ",
                                   static_cast<int>(when.year), static_cast<int>(when.month),
                                   static_cast<int>(when.day), static_cast<int>(when.hour),
                                   static_cast<int>(when.minute), static_cast<int>(when.second),
                                   static_cast<int>(when.millisecond));
  return std::string(prefix, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace

std::string LogEntry(const LocalTime& when, TextView text) {
  std::string entry = DatePrefix(when);
  // Lines of a box's text are broken by "\r\n" or "\n"; each goes on a line of its own.
  for (std::size_t at = 0;;) {
    const std::size_t end = text.find(u'\n', at);
    TextView line = text.substr(at, end == TextView::npos ? TextView::npos : end - at);
    if (line.ends_with(u'\r')) line.remove_suffix(1);
    if (at != 0 && !line.empty()) entry += kIndent;
    entry += Utf8FromText(line);
    entry += "\r\n";
    if (end == TextView::npos) break;
    at = end + 1;
  }
  return entry;
}

void InstallLog::Write(const Text& text) const noexcept {
  if (sink_ == nullptr) return;
  try {
    sink_->Append(LogEntry(sink_->Now(), text));
  } catch (...) {
    // Lost: see the declaration.
  }
}

}  // namespace velbor
