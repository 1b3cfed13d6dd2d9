#pragma once

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "app/installer_host.h"
#include "app/item_folder.h"
#include "app/main_window.h"
#include "host/text.h"
#include "package/package_format.h"
#include "tests/doubles/scripted_host.h"
#include "tests/support/bytes.h"

namespace velbor::testing {

// Folders that the scripted resolver answers for the two templates the tests use.
inline constexpr char16_t kCorsentaTemplate[] = u"<APPPATH>Corsenta\\";
inline constexpr char16_t kCorsentaFolder[] = u"C:\\Velbor\\Corsenta\\";
inline constexpr char16_t kCommonTemplate[] = u"<COMMONPATH>Velbor\\";
inline constexpr char16_t kCommonFolder[] = u"C:\\Common\\Velbor\\";

inline InstallerHost HostOf(ScriptedHost& host) { return {host, host, host, host, host}; }

// Puts item `item`'s descriptor and bytes into the package.
inline void AddItem(ScriptedHost& host, std::int32_t item, const Text& descriptor, Bytes bytes) {
  host.Package().SetText(kFirstItemResource + item, descriptor);
  host.Package().SetBytes(kFirstItemResource + item, kItemBytesType, std::move(bytes));
}

// Stands in for the folder resolver: it opens a prompt, as the real one may, so
// the message loop runs inside the pass; then it answers the folder set for the
// template, whatever was typed, or the empty text for a template it does not know.
class ScriptedResolver {
 public:
  explicit ScriptedResolver(ScriptedHost& host) : host_(host) {
    folders_[kCorsentaTemplate] = kCorsentaFolder;
    folders_[kCommonTemplate] = kCommonFolder;
    host.Disk().MakeFolder(kCorsentaFolder);
    host.Disk().MakeFolder(kCommonFolder);
  }

  void SetFolder(const Text& targetTemplate, const Text& folder) {
    folders_[targetTemplate] = folder;
  }

  TemplateResolver Resolver() {
    return [this](const Text& targetTemplate) {
      asked_.push_back(targetTemplate);
      host_.AskText(u"Cartella di " + targetTemplate, u"Setup", Text());
      const auto folder = folders_.find(targetTemplate);
      return folder == folders_.end() ? Text() : folder->second;
    };
  }

  const std::vector<Text>& Asked() const { return asked_; }

 private:
  ScriptedHost& host_;
  std::map<Text, Text> folders_;
  std::vector<Text> asked_;
};

class RecordingMainWindow : public MainWindow {
 public:
  void SetStartButtonCaption(const Text& newCaption) override { caption = newCaption; }
  void SetTimerEnabled(bool enabled) override {
    timerEnabled = enabled;
    timerSettings.push_back(enabled);
  }

  Text caption = u"Installa Brevanti";
  bool timerEnabled = false;
  std::vector<bool> timerSettings;
};

using StartedProcess = std::tuple<Text, Text, WindowStyle>;

inline std::vector<StartedProcess> StartedProcessesOf(const ScriptedHost& host) {
  std::vector<StartedProcess> started;
  for (const ScriptedHost::ProcessStarted& process : host.StartedProcesses()) {
    started.emplace_back(process.program, process.commandLine, process.windowStyle);
  }
  return started;
}

// How many calls of `operation` with `subject` succeeded.
inline int SucceededCalls(const ScriptedHost& host, Operation operation, const Text& subject) {
  int count = 0;
  for (const ScriptedHost::Call& call : host.Log()) {
    if (call.operation == operation && call.subject == subject && call.failure == 0) ++count;
  }
  return count;
}

}  // namespace velbor::testing
