#include "tools/setup-inspect/dry_run_host.h"

#include <algorithm>
#include <cstring>

namespace velbor {

void DryRunHost::Forget() {
  boxes_.clear();
  lookedFor_.clear();
  commandLines_.clear();
}

MessageAnswer DryRunHost::ShowMessage(const Text& prompt, MessageStyle style,
                                      const std::optional<Text>& title) {
  boxes_.push_back({prompt, title});
  // Going on rather than stopping shows what a patient user meets.
  return style == MessageStyle::kQuestionYesNo ? MessageAnswer::kNo : MessageAnswer::kOk;
}

Text DryRunHost::AskText(const Text&, const Text&, const Text&) { return Text(); }

Text DryRunHost::FindFileName(const Text& path) {
  lookedFor_.push_back(path);
  const std::size_t separator = path.find_last_of(u'\\');
  return separator == Text::npos ? path : path.substr(separator + 1);
}

void DryRunHost::StartProcess(const Text&, const Text& commandLine, WindowStyle, const Text&,
                              SharedFileHold) {
  commandLines_.push_back(commandLine);
}

std::int32_t DryRunHost::RegOpenKeyExA(RegKey, const std::string&, std::uint32_t, std::uint32_t,
                                       RegKey& result) {
  result = 1;
  return reg::kSuccess;
}

std::int32_t DryRunHost::RegCreateKeyExA(RegKey, const std::string&, std::uint32_t,
                                         const std::string&, std::uint32_t, std::uint32_t,
                                         const SecurityAttributes&, RegKey&, std::uint32_t&) {
  return reg::kAccessDenied;
}

std::int32_t DryRunHost::RegQueryValueExA(RegKey, const std::string& valueName, std::uint32_t& type,
                                          std::uint8_t* data, std::uint32_t& size) {
  Text folder;
  if (valueName == "strPath") folder = kMakerFolderPlaceholder;
  if (valueName == "COMMONFILESDIR") folder = kCommonFilesPlaceholder;
  if (valueName == "PROGRAMFILESDIR") folder = kProgramFilesPlaceholder;
  if (folder.empty()) return reg::kFileNotFound;
  const std::string ansi = AnsiFromText(folder);
  const auto needed = static_cast<std::uint32_t>(ansi.size() + 1);
  type = reg::kTypeSz;
  if (data != nullptr) {
    if (size < needed) {
      size = needed;
      return reg::kMoreData;
    }
    std::memcpy(data, ansi.c_str(), needed);
  }
  size = needed;
  return reg::kSuccess;
}

std::string DryRunHost::AnsiFromText(const Text& text) {
  std::string ansi(text.size(), '?');
  std::transform(text.begin(), text.end(), ansi.begin(),
                 [](char16_t c) { return c < 0x80 ? static_cast<char>(c) : '?'; });
  return ansi;
}

Text DryRunHost::TextFromAnsi(std::string_view ansi) {
  Text text(ansi.size(), u'\0');
  std::transform(ansi.begin(), ansi.end(), text.begin(),
                 [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
  return text;
}

}  // namespace velbor
