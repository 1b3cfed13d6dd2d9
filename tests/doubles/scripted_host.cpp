#include "tests/doubles/scripted_host.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "package/content_checksum.h"
#include "package/stream_item.h"
#include "package/zstd_frame.h"

namespace velbor::testing {

template <typename Action>
auto ScriptedHost::Logged(Operation operation, Text subject, Action action) {
  const std::size_t index = log_.size();
  log_.push_back({operation, std::move(subject), 0});
  if (std::optional<HostFailure> planned = failurePlan_.TakeFailureForCall(operation)) {
    log_[index].failure = planned->Number();
    throw *planned;
  }
  try {
    return action();
  } catch (const HostFailure& failure) {
    log_[index].failure = failure.Number();
    throw;
  }
}

void ScriptedHost::FailCall(Operation operation, int nth, HostFailure failure) {
  failurePlan_.FailCall(operation, nth, std::move(failure));
}

std::vector<Operation> ScriptedHost::Operations() const {
  std::vector<Operation> operations;
  for (const Call& call : log_) operations.push_back(call.operation);
  return operations;
}

int ScriptedHost::CallCount(Operation operation) const {
  return static_cast<int>(std::count_if(log_.begin(), log_.end(), [operation](const Call& call) {
    return call.operation == operation && call.failure == 0;
  }));
}

void ScriptedHost::RunMessageLoop() {
  // A copy, so that a hook may replace itself while it runs.
  if (std::function<void()> hook = messageLoopHook_) hook();
}

Text ScriptedHost::LoadResourceText(std::int32_t number) {
  return Logged(Operation::kLoadResourceText, DecimalText(number),
                [&] { return package_.TextOf(number); });
}

ByteView ScriptedHost::LoadResourceBytes(std::int32_t number, const Text& typeName) {
  return Logged(Operation::kLoadResourceBytes, DecimalText(number) + u" " + typeName,
                [&] { return package_.BytesOf(number, typeName); });
}

std::uint64_t ScriptedHost::ResourceSize(std::int32_t number, const Text& typeName) {
  try {
    return package_.BytesOf(number, typeName).size();
  } catch (const HostFailure&) {
    return 0;
  }
}

MessageAnswer ScriptedHost::ShowMessage(const Text& prompt, MessageStyle style,
                                        const std::optional<Text>& title) {
  return Logged(Operation::kShowMessage, prompt, [&] {
    messageBoxes_.push_back({prompt, style, title});
    MessageAnswer button = MessageAnswer::kOk;
    if (!buttons_.empty()) {
      button = buttons_.front();
      buttons_.pop_front();
    }
    RunMessageLoop();
    return button;
  });
}

Text ScriptedHost::AskText(const Text& prompt, const Text& title, const Text& defaultText) {
  return Logged(Operation::kAskText, prompt, [&] {
    prompts_.push_back({prompt, title, defaultText});
    Text typed;
    if (!typedTexts_.empty()) {
      typed = std::move(typedTexts_.front());
      typedTexts_.pop_front();
    }
    RunMessageLoop();
    return typed;
  });
}

void ScriptedHost::PumpMessages() {
  Logged(Operation::kPumpMessages, {}, [&] { RunMessageLoop(); });
}

void ScriptedHost::EndProgram() {
  Logged(Operation::kEndProgram, {}, [] {});
}

void ScriptedHost::EndFailedProgram() {
  Logged(Operation::kEndFailedProgram, {}, [] {});
}

void ScriptedHost::ResetMousePointer() {
  Logged(Operation::kResetMousePointer, {}, [] {});
}

namespace {

// The content of `stored`, decoded as the real host decodes it.
std::vector<std::uint8_t> ContentOf(const StoredBytes& stored) {
  if (stored.storage == Storage::kRaw) return {stored.bytes.begin(), stored.bytes.end()};
  std::vector<std::uint8_t> content;
  const auto keep = [&](ByteView piece) {
    content.insert(content.end(), piece.begin(), piece.end());
  };
  if (stored.storage == Storage::kInStream) {
    DecodeStreamItem(stored.bytes, stored.place, keep);
    return content;
  }
  ZstdFrameDecoder decoder;
  decoder.Decode(stored.bytes, keep);
  decoder.Finish(ZstdContentSize(stored.bytes).value_or(content.size() + 1));
  return content;
}

}  // namespace

Text ScriptedHost::FindFileName(const Text& path) {
  return Logged(Operation::kFindFileName, path, [&] { return disk_.FindFileName(path); });
}

void ScriptedHost::DeleteFile(const Text& path) {
  Logged(Operation::kDeleteFile, path, [&] { disk_.DeleteFile(path); });
}

void ScriptedHost::WriteWholeFile(const Text& path, const StoredBytes& stored,
                                  const WriteProgress& progress) {
  Logged(Operation::kWriteWholeFile, path, [&] {
    const std::vector<std::uint8_t> bytes = ContentOf(stored);
    if (progress) progress(bytes.size() / 2);
    disk_.WriteWholeFile(path, bytes);
  });
}

SharedFileHold ScriptedHost::HoldFile(const Text& path, const StoredBytes& stored) {
  return Logged(Operation::kHoldFile, path, [&]() -> SharedFileHold {
    const auto held = disk_.ReadFile(path);
    if (!held) throw HostFailure(failure::kFileNotFound);
    // An item stored together is compared with its size and checksum, as the
    // installer does, not decoded a second time.
    const bool same =
        stored.storage == Storage::kInStream
            ? held->size() == stored.place.size && ContentChecksumOf(*held) == stored.place.checksum
            : *held == ContentOf(stored);
    if (!same) {
      throw HostFailure(failure::kPathFileAccess);
    }
    return std::make_shared<const Hold>(path);
  });
}

void ScriptedHost::ShowWritten(std::uint64_t written, std::uint64_t total) {
  progressShown_.push_back("written " + std::to_string(written) + " of " + std::to_string(total));
}

void ScriptedHost::StartProcess(const Text& program, const Text& commandLine,
                                WindowStyle windowStyle, const Text& workingFolder,
                                SharedFileHold heldUntilEnded) {
  Logged(Operation::kStartProcess, commandLine, [&] {
    startedProcesses_.push_back(
        {program, commandLine, windowStyle, workingFolder, std::move(heldUntilEnded)});
  });
}

std::optional<std::uint32_t> ScriptedHost::StartAndAwait(
    const Text& program, const Text& commandLine, WindowStyle windowStyle,
    const Text& workingFolder, SharedFileHold heldUntilEnded, std::chrono::milliseconds) {
  StartProcess(program, commandLine, windowStyle, workingFolder, std::move(heldUntilEnded));
  if (exitCodes_.empty()) return 0u;
  const std::optional<std::uint32_t> exitCode = exitCodes_.front();
  exitCodes_.pop_front();
  return exitCode;
}

std::vector<FileHolder> ScriptedHost::HoldersOf(const Text& path) noexcept {
  const auto found = holders_.find(path);
  return found == holders_.end() ? std::vector<FileHolder>() : found->second;
}

}  // namespace velbor::testing
