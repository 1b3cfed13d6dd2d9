#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/failure.h"
#include "host/file_holders.h"
#include "host/file_system.h"
#include "host/pass_progress.h"
#include "host/processes.h"
#include "host/resources.h"
#include "host/text.h"
#include "host/user_interface.h"
#include "tests/doubles/failure_plan.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/memory_resources.h"
#include "tests/doubles/operation.h"

namespace velbor::testing {

// The host as the tests script it: a package in memory, a user whose answers are
// queued in advance, an in-memory disk and a record of everything the program
// asked for. Every operation is logged in call order and can be made to fail; a
// failing call changes nothing but the log. What a pass shows of its progress is
// recorded apart, and a write tells it half its bytes before it writes them.
class ScriptedHost : public Resources,
                     public UserInterface,
                     public FileSystem,
                     public Processes,
                     public PassProgress,
                     public FileHolders {
 public:
  struct MessageBoxShown {
    Text prompt;
    MessageStyle style = MessageStyle::kOk;
    std::optional<Text> title;
  };

  struct PromptShown {
    Text prompt;
    Text title;
    Text defaultText;
  };

  struct ProcessStarted {
    Text program;  // empty when the command line's first word names it
    Text commandLine;
    WindowStyle windowStyle = WindowStyle::kHidden;
    Text workingFolder;
    SharedFileHold heldUntilEnded;  // what a real program would keep until it ends
  };

  // The hold that HoldFile gives: it names the file it holds.
  struct Hold : FileHold {
    explicit Hold(Text held) : path(std::move(held)) {}
    Text path;
  };

  struct Call {
    Operation operation;
    Text subject;              // the resource number, prompt, path or command line
    std::int32_t failure = 0;  // the number it failed with, 0 when it succeeded
  };

  ScriptedHost() = default;
  // The program holds on to its host, and byte views point into it.
  ScriptedHost(const ScriptedHost&) = delete;
  ScriptedHost& operator=(const ScriptedHost&) = delete;

  // Arranged and read directly, without logging.
  MemoryResources& Package() { return package_; }
  MemoryFileSystem& Disk() { return disk_; }

  // The user's next answers, taken in the order the boxes open. A box without a
  // queued button answers OK; a prompt without a queued text answers as Cancel.
  void QueueButton(MessageAnswer button) { buttons_.push_back(button); }
  void QueueTypedText(Text text) { typedTexts_.push_back(std::move(text)); }
  // How the next awaited programs end: an exit code, or nothing for one still
  // running when the wait gives up. Unqueued, a program ends with 0.
  void QueueExitCode(std::optional<std::uint32_t> exitCode) { exitCodes_.push_back(exitCode); }
  // Who the system names as holding the file at `path`.
  void SetHolders(const Text& path, std::vector<FileHolder> holders) {
    holders_[path] = std::move(holders);
  }

  // Runs whenever the window's message loop would: inside every box and prompt,
  // while it is open, and in PumpMessages. Lets a test deliver a timer tick or a
  // button press at those moments.
  void SetMessageLoopHook(std::function<void()> hook) { messageLoopHook_ = std::move(hook); }

  // Makes the `nth` next call of `operation` fail with `failure`; 1 is the next.
  void FailCall(Operation operation, int nth, HostFailure failure);

  const std::vector<MessageBoxShown>& MessageBoxes() const { return messageBoxes_; }
  const std::vector<PromptShown>& Prompts() const { return prompts_; }
  const std::vector<ProcessStarted>& StartedProcesses() const { return startedProcesses_; }
  const std::vector<Call>& Log() const { return log_; }
  // "begins", "written W of T", "ended", "waiting" and "not waiting", in order.
  const std::vector<std::string>& ProgressShown() const { return progressShown_; }
  std::vector<Operation> Operations() const;
  // Calls of `operation` that succeeded.
  int CallCount(Operation operation) const;
  bool ProgramEnded() const { return CallCount(Operation::kEndProgram) > 0; }

  Text LoadResourceText(std::int32_t number) override;
  ByteView LoadResourceBytes(std::int32_t number, const Text& typeName) override;
  std::uint64_t ResourceSize(std::int32_t number, const Text& typeName) override;

  MessageAnswer ShowMessage(const Text& prompt, MessageStyle style,
                            const std::optional<Text>& title) override;
  Text AskText(const Text& prompt, const Text& title, const Text& defaultText) override;
  void PumpMessages() override;
  void EndProgram() override;
  void EndFailedProgram() override;
  void ResetMousePointer() override;

  Text FindFileName(const Text& path) override;
  void DeleteFile(const Text& path) override;
  void WriteWholeFile(const Text& path, const StoredBytes& stored,
                      const WriteProgress& progress) override;
  SharedFileHold HoldFile(const Text& path, const StoredBytes& stored) override;

  void StartProcess(const Text& program, const Text& commandLine, WindowStyle windowStyle,
                    const Text& workingFolder, SharedFileHold heldUntilEnded) override;
  // Logged and recorded as StartProcess is.
  std::optional<std::uint32_t> StartAndAwait(const Text& program, const Text& commandLine,
                                             WindowStyle windowStyle, const Text& workingFolder,
                                             SharedFileHold heldUntilEnded,
                                             std::chrono::milliseconds limit) override;
  Text SystemFolder() override { return systemFolder_; }
  Text WindowsFolder() override { return windowsFolder_; }
  void SetWindowsFolder(Text folder) { windowsFolder_ = std::move(folder); }

  void PassBegins() override { progressShown_.emplace_back("begins"); }
  void ShowWritten(std::uint64_t written, std::uint64_t total) override;
  void PassEnded() override { progressShown_.emplace_back("ended"); }
  void ShowWaitingToRetry(bool waiting) override {
    progressShown_.emplace_back(waiting ? "waiting" : "not waiting");
  }

  std::vector<FileHolder> HoldersOf(const Text& path) noexcept override;

 private:
  // Logs the call, then fails it as planned or runs `action`, logging its failure.
  template <typename Action>
  auto Logged(Operation operation, Text subject, Action action);
  void RunMessageLoop();

  MemoryResources package_;
  MemoryFileSystem disk_;
  FailurePlan failurePlan_;
  std::deque<MessageAnswer> buttons_;
  std::deque<Text> typedTexts_;
  std::deque<std::optional<std::uint32_t>> exitCodes_;
  std::map<Text, std::vector<FileHolder>> holders_;
  std::function<void()> messageLoopHook_;
  std::vector<MessageBoxShown> messageBoxes_;
  std::vector<PromptShown> prompts_;
  std::vector<ProcessStarted> startedProcesses_;
  std::vector<Call> log_;
  std::vector<std::string> progressShown_;
  Text systemFolder_ = u"C:\\Windows\\system32";
  Text windowsFolder_ = u"C:\\Windows";
};

}  // namespace velbor::testing
