// GeneraPathDll. Input lines: the template; the registry's strPath,
// PROGRAMFILESDIR and COMMONFILESDIR (an empty line leaves the value out); then
// lines whose first byte says what the rest is: "F" a file made on the disk with
// its folders (a marker, say), "A" the user's next typed answer. At most
// kMaxAnswers answers are queued; after them every prompt is cancelled, so the
// resolution must end.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "host/failure.h"
#include "host/registry_api.h"
#include "paths/installation_folders.h"
#include "paths/target_folder_resolver.h"
#include "registry/registry_library.h"
#include "tests/doubles/fake_registry.h"
#include "tests/doubles/scripted_host.h"

namespace {

using namespace velbor;

constexpr int kMaxAnswers = 8;

void PutFolderValue(testing::FakeRegistry& registry, const char* path, const char* name,
                    const std::string& folder) {
  if (folder.empty()) return;
  std::vector<std::uint8_t> data(folder.begin(), folder.end());
  data.push_back(0);
  registry.PutValue(reg::kLocalMachine, path, name, reg::kTypeSz, std::move(data));
}

void PutDiskFile(testing::ScriptedHost& host, const Text& path) {
  // Paths that do not fit the disk are the input's mistake, not the program's.
  try {
    const auto folderEnd = path.find_last_of(u"\\/");
    if (folderEnd != Text::npos && folderEnd > 0) host.Disk().MakeFolder(path.substr(0, folderEnd));
    host.Disk().PutFile(path, {});
  } catch (const std::logic_error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::FuzzInput input(data, size);
  const Text targetTemplate = input.NextLine();
  testing::FakeRegistry registry;
  PutFolderValue(registry, "Software\\Velbor\\Installazione", "strPath", input.NextRawLine());
  const char* const windows = "Software\\Microsoft\\Windows\\CurrentVersion";
  PutFolderValue(registry, windows, "PROGRAMFILESDIR", input.NextRawLine());
  PutFolderValue(registry, windows, "COMMONFILESDIR", input.NextRawLine());

  testing::ScriptedHost host;
  int answers = 0;
  while (!input.AtEnd()) {
    const Text line = input.NextLine();
    if (line.empty()) continue;
    if (line.front() == u'F') PutDiskFile(host, line.substr(1));
    if (line.front() == u'A' && answers < kMaxAnswers) {
      host.QueueTypedText(line.substr(1));
      ++answers;
    }
  }

  RegistryLibrary library(registry);
  InstallationFolders folders(library, host);
  TargetFolderResolver resolver(folders, host, host);
  try {
    static_cast<void>(resolver.GeneraPathDll(targetTemplate));
  } catch (const HostFailure&) {
  }
  testing::Expect(registry.OpenHandleCount() == 0, "every key is closed");
  return 0;
}
