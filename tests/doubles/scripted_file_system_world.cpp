// The file-system world of the native tests: the scripted host's in-memory disk.
#include <memory>

#include "tests/contract/file_system_world.h"
#include "tests/doubles/scripted_host.h"

namespace velbor::testing {
namespace {

class ScriptedFileSystemWorld final : public FileSystemWorld {
 public:
  ScriptedFileSystemWorld() { host_.Disk().MakeFolder(kFolder); }

  FileSystem& Files() override { return host_; }
  Text Folder() override { return kFolder; }

  void MakeFolder(const Text& path) override { host_.Disk().MakeFolder(path); }

  void PutFile(const Text& path, const std::vector<std::uint8_t>& bytes,
               Attributes attributes) override {
    host_.Disk().PutFile(path, bytes, {attributes.readOnly, attributes.hidden, attributes.system});
  }

  std::optional<std::vector<std::uint8_t>> ReadFile(const Text& path) override {
    return host_.Disk().ReadFile(path);
  }

  void HoldOpen(const Text& path) override { host_.Disk().HoldOpen(path); }
  void Release(const Text& path) override { host_.Disk().Release(path); }

  std::vector<Text> List(const Text& folder) override { return host_.Disk().List(folder); }

 private:
  static constexpr char16_t kFolder[] = u"C:\\Users\\Tester\\World\\";

  ScriptedHost host_;
};

}  // namespace

std::unique_ptr<FileSystemWorld> MakeFileSystemWorld() {
  return std::make_unique<ScriptedFileSystemWorld>();
}

}  // namespace velbor::testing
