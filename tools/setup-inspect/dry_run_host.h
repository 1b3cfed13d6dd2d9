#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/file_system.h"
#include "host/pass_progress.h"
#include "host/processes.h"
#include "host/registry_api.h"
#include "host/user_interface.h"

namespace velbor {

// Where the machine's folders stand in what the inspection shows.
inline constexpr char16_t kMakerFolderPlaceholder[] = u"<maker's folder>";
inline constexpr char16_t kCommonFilesPlaceholder[] = u"<common files>";
inline constexpr char16_t kProgramFilesPlaceholder[] = u"<program files>";
inline constexpr char16_t kSystemFolderPlaceholder[] = u"<system folder>";

// A customer's machine on which everything a package needs is in place: the
// registry names every folder (as a placeholder), every marker file is there and
// every write and start succeeds. It records what the installer shows, looks for,
// writes and starts, so that the installer's own code can be watched at work.
class DryRunHost final : public UserInterface,
                         public FileSystem,
                         public Processes,
                         public PassProgress,
                         public RegistryApi {
 public:
  struct Box {
    Text prompt;
    std::optional<Text> title;
  };

  const std::vector<Box>& Boxes() const noexcept { return boxes_; }
  const std::vector<Text>& LookedFor() const noexcept { return lookedFor_; }
  const std::vector<Text>& CommandLines() const noexcept { return commandLines_; }
  void Forget();

  MessageAnswer ShowMessage(const Text& prompt, MessageStyle style,
                            const std::optional<Text>& title) override;
  Text AskText(const Text& prompt, const Text& title, const Text& defaultText) override;
  void PumpMessages() override {}
  void EndProgram() override {}
  void EndFailedProgram() override {}
  void ResetMousePointer() override {}

  Text FindFileName(const Text& path) override;
  void DeleteFile(const Text&) override {}
  void WriteWholeFile(const Text&, const StoredBytes&, const WriteProgress&) override {}
  SharedFileHold HoldFile(const Text&, const StoredBytes&) override { return nullptr; }

  void StartProcess(const Text& program, const Text& commandLine, WindowStyle windowStyle,
                    const Text& workingFolder, SharedFileHold heldUntilEnded) override;
  // The package check runs no tool: an awaited one is recorded and ends with 0.
  std::optional<std::uint32_t> StartAndAwait(const Text& program, const Text& commandLine,
                                             WindowStyle windowStyle, const Text& workingFolder,
                                             SharedFileHold heldUntilEnded,
                                             std::chrono::milliseconds) override {
    StartProcess(program, commandLine, windowStyle, workingFolder, std::move(heldUntilEnded));
    return 0u;
  }
  Text SystemFolder() override { return kSystemFolderPlaceholder; }
  // Where the registering tool of .NET assemblies is looked for.
  Text WindowsFolder() override { return u"C:\\WINDOWS"; }

  void PassBegins() override {}
  void ShowWritten(std::uint64_t, std::uint64_t) override {}
  void PassEnded() override {}
  void ShowWaitingToRetry(bool) override {}

  std::int32_t RegOpenKeyExA(RegKey key, const std::string& subKey, std::uint32_t options,
                             std::uint32_t access, RegKey& result) override;
  std::int32_t RegCreateKeyExA(RegKey key, const std::string& subKey, std::uint32_t reserved,
                               const std::string& className, std::uint32_t options,
                               std::uint32_t access, const SecurityAttributes& security,
                               RegKey& result, std::uint32_t& disposition) override;
  std::int32_t RegQueryValueExA(RegKey key, const std::string& valueName, std::uint32_t& type,
                                std::uint8_t* data, std::uint32_t& size) override;
  std::int32_t RegCloseKey(RegKey) override { return reg::kSuccess; }
  std::string AnsiFromText(const Text& text) override;
  Text TextFromAnsi(std::string_view ansi) override;

 private:
  std::vector<Box> boxes_;
  std::vector<Text> lookedFor_;
  std::vector<Text> commandLines_;
};

}  // namespace velbor
