// Win32 cases beyond the shared file-system contract: paths that the platform
// itself would misread, and names resolved against the current folder.
#include <memory>

#include "gtest/gtest.h"
#include "host/win32/unique_handle.h"
#include "host/win32/wide_text.h"
#include "host/win32/windows_api.h"
#include "tests/contract/file_system_world.h"
#include "tests/support/bytes.h"
#include "tests/support/failures.h"
#include "tests/win32/win32_test_support.h"

namespace velbor::testing {
namespace {

class Win32FileSystemTest : public ::testing::Test {
 protected:
  Text In(const Text& name) { return world_->Folder() + name; }
  FileSystem& Files() { return world_->Files(); }

  std::unique_ptr<FileSystemWorld> world_ = MakeFileSystemWorld();
};

// "<", ">" and '"' are wildcards to the layer below FindFirstFileExW.
TEST_F(Win32FileSystemTest, FindFileNameAnswersEmptyForPathsThatCannotNameAFile) {
  world_->PutFile(In(u"plain.txt"), {1}, {});
  for (const Text& path : {In(u"plain<"), In(u"plain.tx>"), In(u"plain\"txt"),
                           MissingDrive() + u"plain.txt", Text()}) {
    EXPECT_EQ(Files().FindFileName(path), u"") << Utf8FromText(path);
  }
}

TEST_F(Win32FileSystemTest, FindFileNameMatchesNonAsciiNamesInAnyCase) {
  world_->PutFile(In(u"Perché.txt"), {1}, {});
  EXPECT_EQ(Files().FindFileName(In(u"PERCHÉ.TXT")), u"Perché.txt");
}

// Text cut at a NUL would name another file, which must not be touched.
TEST_F(Win32FileSystemTest, PathsHoldingNulNameNoFile) {
  world_->PutFile(In(u"a.dll"), {1}, {});
  const Text cut = In(u"a.dll") + Text(1, u'\0') + u"b";
  EXPECT_EQ(Files().FindFileName(cut), u"");
  EXPECT_TRUE(FailsWith(52, [&] { Files().DeleteFile(cut); }));
  EXPECT_TRUE(FailsWith(52, [&] { Files().WriteWholeFile(cut, ByteView(Bytes{9}), {}); }));
  EXPECT_EQ(world_->ReadFile(In(u"a.dll")), Bytes{1});
}

// An empty folder from the lookups leaves a bare name, which means the current folder.
TEST_F(Win32FileSystemTest, BareNamesLieInTheCurrentFolder) {
  wchar_t previous[MAX_PATH];
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(WideFromText(world_->Folder()).c_str()));
  Files().WriteWholeFile(u"bare.txt", ByteView(Bytes{1}), {});
  const Text found = Files().FindFileName(u"bare.txt");
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(found, u"bare.txt");
  EXPECT_EQ(world_->List(world_->Folder()), std::vector<Text>{u"bare.txt"});
}

// A run killed where the system could not remove its temporary file leaves it; the
// next write into that folder removes ours, and only ours.
TEST_F(Win32FileSystemTest, AWriteRemovesTemporaryFilesThatAnEarlierRunLeftInItsFolder) {
  world_->PutFile(In(u"~velbor123.tmp"), {1}, {});
  world_->PutFile(In(u"~velbor12x.tmp"), {2}, {});
  world_->PutFile(In(u"~velbor.tmp"), {3}, {});
  ASSERT_TRUE(CreateDirectoryW(WideFromText(In(u"~velbor7.tmp")).c_str(), nullptr));
  Files().WriteWholeFile(In(u"new.bin"), ByteView(Bytes{4}), {});
  EXPECT_EQ(world_->List(world_->Folder()),
            (std::vector<Text>{u"new.bin", u"~velbor.tmp", u"~velbor12x.tmp", u"~velbor7.tmp"}));
  RemoveDirectoryW(WideFromText(In(u"~velbor7.tmp")).c_str());
}

// In a pass, whose writes share one thread, the first write into each folder
// removes them; a write that fails there does not stop the next.
TEST_F(Win32FileSystemTest, APassRemovesLeftTemporaryFilesFromEachFolderItWritesIn) {
  world_->MakeFolder(In(u"inner"));
  const Text inner = In(u"inner\\");
  world_->PutFile(In(u"~velbor1.tmp"), {1}, {});
  world_->PutFile(inner + u"~velbor2.tmp", {2}, {});
  const std::unique_ptr<PassWrites> pass = Files().BeginPass();
  const Text cut = In(u"a.dll") + Text(1, u'\0');
  EXPECT_TRUE(FailsWith(52, [&] { Files().WriteWholeFile(cut, ByteView(Bytes{9}), {}); }));
  for (const Text& path : {In(u"a.bin"), In(u"b.bin"), inner + u"c.bin"}) {
    Files().WriteWholeFile(path, ByteView(Bytes{4}), {});
  }
  EXPECT_EQ(world_->List(world_->Folder()), (std::vector<Text>{u"a.bin", u"b.bin", u"inner"}));
  EXPECT_EQ(world_->List(inner), std::vector<Text>{u"c.bin"});
}

// A hold lets others read and load the file, but nobody write, rename or delete
// it, until its last owner lets go.
TEST_F(Win32FileSystemTest, HeldFileCanOnlyBeReadUntilLetGo) {
  const Text held = In(u"held.dll");
  const Bytes content = {'M', 'Z', 1, 2};
  world_->PutFile(held, content, {});
  world_->PutFile(In(u"other.dll"), {9}, {});
  const std::wstring path = WideFromText(held);
  const std::wstring other = WideFromText(In(u"other.dll"));
  SharedFileHold hold = Files().HoldFile(held, ByteView(content));
  const auto opens = [&](DWORD access) {
    return UniqueFileHandle(CreateFileW(path.c_str(), access,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr))
        .IsValid();
  };
  EXPECT_TRUE(opens(GENERIC_READ));
  EXPECT_FALSE(opens(GENERIC_WRITE));
  EXPECT_FALSE(DeleteFileW(path.c_str()));
  EXPECT_FALSE(MoveFileExW(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(MoveFileExW(path.c_str(), (path + L".old").c_str(), 0));

  hold.reset();
  EXPECT_TRUE(MoveFileExW(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
}

// What is held must be what was written: anything else is a file swapped in.
TEST_F(Win32FileSystemTest, HoldingAFileOfOtherContentFails) {
  world_->PutFile(In(u"a.dll"), {1, 2, 3}, {});
  EXPECT_TRUE(FailsWith(75, [&] { Files().HoldFile(In(u"a.dll"), ByteView(Bytes{1, 2})); }));
  EXPECT_TRUE(FailsWith(75, [&] { Files().HoldFile(In(u"a.dll"), ByteView(Bytes{1, 2, 4})); }));
  EXPECT_TRUE(FailsWith(53, [&] { Files().HoldFile(In(u"missing.dll"), ByteView(Bytes{})); }));
  EXPECT_TRUE(Files().HoldFile(In(u"a.dll"), ByteView(Bytes{1, 2, 3})));
}

}  // namespace
}  // namespace velbor::testing
