// What every FileSystem must do, as Windows does it. The same cases run against the
// scripted host natively and against the Win32 file system under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "host/failure.h"
#include "host/file_system.h"
#include "host/text.h"
#include "package/content_checksum.h"
#include "tests/contract/file_system_world.h"
#include "tests/contract/zstd_test_frame.h"
#include "tests/support/bytes.h"
#include "tests/support/failures.h"

namespace velbor::testing {
namespace {

Bytes BytesOf(std::string_view text) { return {text.begin(), text.end()}; }

class FileSystemContract : public ::testing::Test {
 protected:
  Text InFolder(const Text& name) { return world_->Folder() + name; }

  void Put(const Text& name, std::string_view content,
           FileSystemWorld::Attributes attributes = {}) {
    world_->PutFile(InFolder(name), BytesOf(content), attributes);
  }

  std::optional<Bytes> Read(const Text& name) { return world_->ReadFile(InFolder(name)); }

  std::vector<Text> Entries() {
    std::vector<Text> names = world_->List(world_->Folder());
    std::sort(names.begin(), names.end());
    return names;
  }

  Text Find(const Text& name) { return world_->Files().FindFileName(InFolder(name)); }

  std::int32_t DeleteFailure(const Text& name) {
    return FailureNumberOf([&] { world_->Files().DeleteFile(InFolder(name)); });
  }

  std::int32_t WriteFailure(const Text& name, std::string_view content) {
    const Bytes bytes = BytesOf(content);
    return FailureNumberOf(
        [&] { world_->Files().WriteWholeFile(InFolder(name), ByteView(bytes), {}); });
  }

  // Whether writing `name` fails as a file in use, which may pass later.
  bool WriteFailsInUse(const Text& name) {
    const Bytes bytes = BytesOf("new");
    const std::optional<HostFailure> failure =
        FailureOf([&] { world_->Files().WriteWholeFile(InFolder(name), ByteView(bytes), {}); });
    return failure && failure->IsInUse();
  }

  std::unique_ptr<FileSystemWorld> world_ = MakeFileSystemWorld();
};

using FindFileNameContract = FileSystemContract;

TEST_F(FindFileNameContract, AnswersTheStoredNameInAnyCase) {
  Put(u"ReadMe.Txt", "r");
  EXPECT_EQ(Find(u"ReadMe.Txt"), u"ReadMe.Txt");
  EXPECT_EQ(Find(u"readme.txt"), u"ReadMe.Txt");
  EXPECT_EQ(Find(u"README.TXT"), u"ReadMe.Txt");
}

TEST_F(FindFileNameContract, CountsReadOnlyFiles) {
  Put(u"locked.dll", "l", {.readOnly = true});
  EXPECT_EQ(Find(u"locked.dll"), u"locked.dll");
}

TEST_F(FindFileNameContract, AnswersEmptyForWhatIsNoVisibleFile) {
  world_->MakeFolder(InFolder(u"Sub"));
  Put(u"hidden.txt", "h", {.hidden = true});
  Put(u"system.txt", "s", {.system = true});
  EXPECT_EQ(Find(u"missing.txt"), u"");
  EXPECT_EQ(Find(u"Sub"), u"");
  EXPECT_EQ(Find(u"hidden.txt"), u"");
  EXPECT_EQ(Find(u"system.txt"), u"");
  EXPECT_EQ(Find(u"Missing\\file.txt"), u"");
}

TEST_F(FindFileNameContract, WildcardsNeverMatch) {
  Put(u"a.txt", "a");
  Put(u"b.txt", "b");
  EXPECT_EQ(Find(u"*"), u"");
  EXPECT_EQ(Find(u"*.*"), u"");
  EXPECT_EQ(Find(u"*.txt"), u"");
  EXPECT_EQ(Find(u"?.txt"), u"");
  EXPECT_EQ(Find(u"a.tx?"), u"");
  EXPECT_EQ(Find(u"a*"), u"");
}

using DeleteFileContract = FileSystemContract;

TEST_F(DeleteFileContract, DeletesAFileNamedInAnyCase) {
  Put(u"Old.dll", "o");
  Put(u"other.dll", "x");
  EXPECT_EQ(DeleteFailure(u"OLD.DLL"), 0);
  EXPECT_EQ(Entries(), std::vector<Text>{u"other.dll"});
}

TEST_F(DeleteFileContract, MissingFileIsFileNotFound) {
  EXPECT_EQ(DeleteFailure(u"missing.dll"), failure::kFileNotFound);
}

TEST_F(DeleteFileContract, FileInAMissingFolderIsPathNotFound) {
  EXPECT_EQ(DeleteFailure(u"Missing\\a.dll"), failure::kPathNotFound);
}

TEST_F(DeleteFileContract, ReadOnlyFileIsPermissionDenied) {
  Put(u"locked.dll", "keep", {.readOnly = true});
  EXPECT_EQ(DeleteFailure(u"locked.dll"), failure::kPermissionDenied);
  EXPECT_EQ(Read(u"locked.dll"), BytesOf("keep"));
}

TEST_F(DeleteFileContract, FileHeldOpenIsPermissionDenied) {
  Put(u"busy.dll", "keep");
  world_->HoldOpen(InFolder(u"busy.dll"));
  EXPECT_EQ(DeleteFailure(u"busy.dll"), failure::kPermissionDenied);
  world_->Release(InFolder(u"busy.dll"));
  EXPECT_EQ(Read(u"busy.dll"), BytesOf("keep"));
}

TEST_F(DeleteFileContract, FolderIsPermissionDenied) {
  world_->MakeFolder(InFolder(u"Sub"));
  EXPECT_EQ(DeleteFailure(u"Sub"), failure::kPermissionDenied);
  EXPECT_EQ(Entries(), std::vector<Text>{u"Sub"});
}

using WriteWholeFileContract = FileSystemContract;

TEST_F(WriteWholeFileContract, CreatesANewFile) {
  EXPECT_EQ(WriteFailure(u"new.zip", "PK\x03\x04"), 0);
  EXPECT_EQ(Read(u"new.zip"), BytesOf("PK\x03\x04"));
  EXPECT_EQ(Entries(), std::vector<Text>{u"new.zip"});
}

TEST_F(WriteWholeFileContract, ReplacesALongerFileWithExactlyTheNewBytes) {
  Put(u"a.dll", "a much longer old content");
  EXPECT_EQ(WriteFailure(u"a.dll", "new"), 0);
  EXPECT_EQ(Read(u"a.dll"), BytesOf("new"));
  EXPECT_EQ(Entries(), std::vector<Text>{u"a.dll"});
}

TEST_F(WriteWholeFileContract, ReplacesAFileNamedInAnotherCaseWithoutASecondEntry) {
  Put(u"Manual.ZIP", "old");
  EXPECT_EQ(WriteFailure(u"manual.zip", "new"), 0);
  EXPECT_EQ(Read(u"Manual.ZIP"), BytesOf("new"));
  EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(WriteWholeFileContract, WritesAnEmptyFile) {
  Put(u"a.dll", "old");
  EXPECT_EQ(WriteFailure(u"a.dll", ""), 0);
  EXPECT_EQ(WriteFailure(u"empty.txt", ""), 0);
  EXPECT_EQ(Read(u"a.dll"), Bytes{});
  EXPECT_EQ(Read(u"empty.txt"), Bytes{});
}

TEST_F(WriteWholeFileContract, WritesUnicodeNames) {
  EXPECT_EQ(WriteFailure(u"Perché.txt", "è"), 0);
  EXPECT_EQ(Read(u"Perché.txt"), BytesOf("è"));
  EXPECT_EQ(Find(u"Perché.txt"), u"Perché.txt");
  EXPECT_EQ(Entries(), std::vector<Text>{u"Perché.txt"});
}

TEST_F(WriteWholeFileContract, MissingFolderIsPathNotFoundAndMakesNothing) {
  EXPECT_EQ(WriteFailure(u"Missing\\a.dll", "new"), failure::kPathNotFound);
  EXPECT_EQ(Entries(), std::vector<Text>{});
}

TEST_F(WriteWholeFileContract, ReadOnlyTargetIsPermissionDeniedAndKeepsItsBytes) {
  Put(u"locked.dll", "old content", {.readOnly = true});
  EXPECT_EQ(WriteFailure(u"locked.dll", "new"), failure::kPermissionDenied);
  EXPECT_FALSE(WriteFailsInUse(u"locked.dll"));
  EXPECT_EQ(Read(u"locked.dll"), BytesOf("old content"));
  EXPECT_EQ(Entries(), std::vector<Text>{u"locked.dll"});
}

TEST_F(WriteWholeFileContract, TargetHeldOpenIsPermissionDeniedAndKeepsItsBytes) {
  Put(u"busy.zip", "old content");
  world_->HoldOpen(InFolder(u"busy.zip"));
  EXPECT_EQ(WriteFailure(u"busy.zip", "new"), failure::kPermissionDenied);
  EXPECT_TRUE(WriteFailsInUse(u"busy.zip"));
  world_->Release(InFolder(u"busy.zip"));
  EXPECT_EQ(Read(u"busy.zip"), BytesOf("old content"));
  EXPECT_EQ(Entries(), std::vector<Text>{u"busy.zip"});
  // Nothing of the failed write stays open: the file can be replaced now.
  EXPECT_EQ(WriteFailure(u"busy.zip", "new"), 0);
  EXPECT_EQ(Read(u"busy.zip"), BytesOf("new"));
}

TEST_F(WriteWholeFileContract, TargetThatIsAFolderIsPermissionDenied) {
  world_->MakeFolder(InFolder(u"Sub"));
  EXPECT_EQ(WriteFailure(u"Sub", "new"), failure::kPermissionDenied);
  EXPECT_FALSE(WriteFailsInUse(u"Sub"));
  EXPECT_EQ(Entries(), std::vector<Text>{u"Sub"});
  EXPECT_EQ(world_->List(InFolder(u"Sub\\")), std::vector<Text>{});
}

// A compressed item is decoded as it is written, and held as its content.
TEST_F(WriteWholeFileContract, WritesTheContentOfAZstdFrame) {
  Put(u"a.dll", "old");
  const StoredBytes frame(kTestFrame, Storage::kZstd);
  std::uint64_t heard = 0;
  world_->Files().WriteWholeFile(InFolder(u"a.dll"), frame,
                                 [&](std::uint64_t written) { heard = written; });
  Bytes expected;
  for (std::uint64_t at = 0; at < kTestFrameContentSize; ++at) {
    expected.push_back(static_cast<std::uint8_t>(kTestFrameLine[at % 7]));
  }
  EXPECT_EQ(Read(u"a.dll"), expected);
  EXPECT_LE(heard, kTestFrameContentSize);
  EXPECT_EQ(Entries(), std::vector<Text>{u"a.dll"});
  EXPECT_NE(world_->Files().HoldFile(InFolder(u"a.dll"), frame), nullptr);
}

// A frame damaged, cut short or followed by more bytes fails the write before
// the target is replaced: the old file stays, nothing else is left.
TEST_F(WriteWholeFileContract, DamagedZstdFrameIsPathFileAccessAndKeepsTheOldFile) {
  const auto changed = [](std::size_t at) {
    Bytes frame(kTestFrame.begin(), kTestFrame.end());
    frame[at] ^= 0x01;
    return frame;
  };
  Bytes followed(kTestFrame.begin(), kTestFrame.end());
  followed.push_back(0);
  const Bytes cases[] = {changed(kTestFrame.size() - 1), changed(kTestFrame.size() / 2),
                         Bytes(kTestFrame.begin(), kTestFrame.end() - 10), followed, Bytes{}};
  Put(u"a.dll", "old");
  for (const Bytes& frame : cases) {
    SCOPED_TRACE(frame.size());
    EXPECT_EQ(FailureNumberOf([&] {
                world_->Files().WriteWholeFile(InFolder(u"a.dll"), {frame, Storage::kZstd}, {});
              }),
              failure::kInvalidFileFormat);
    EXPECT_EQ(Read(u"a.dll"), BytesOf("old"));
    EXPECT_EQ(Entries(), std::vector<Text>{u"a.dll"});
  }
}

// Items stored together: in one pass the stream is decoded forward, past an item
// not written; an item whose checksum or size differs fails before its rename and
// keeps the old file; a later pass starts the stream again; a held item is
// compared with its checksum.
TEST_F(WriteWholeFileContract, WritesItemsStoredTogetherCheckingEachBeforeItsRename) {
  Bytes content;
  for (std::uint64_t at = 0; at < kTestFrameContentSize; ++at) {
    content.push_back(static_cast<std::uint8_t>(kTestFrameLine[at % 7]));
  }
  const auto place = [&](std::uint64_t offset, std::uint64_t size) {
    return ContentPlace{offset, size,
                        ContentChecksumOf(ByteView(content).subspan(
                            static_cast<std::size_t>(offset), static_cast<std::size_t>(size)))};
  };
  const auto item = [&](const ContentPlace& where) { return StoredBytes(kTestFrame, where); };
  const auto contentAt = [&](const ContentPlace& where) {
    return Bytes(content.begin() + static_cast<std::ptrdiff_t>(where.offset),
                 content.begin() + static_cast<std::ptrdiff_t>(where.offset + where.size));
  };
  const ContentPlace first = place(0, 7), skipped = place(7, 1000000),
                     last = place(1000007, kTestFrameContentSize - 1000007);
  ContentPlace wrongChecksum = last;
  ++wrongChecksum.checksum;
  ContentPlace tooLong = last;
  ++tooLong.size;
  Put(u"c.dll", "old");
  {
    const std::unique_ptr<PassWrites> pass = world_->Files().BeginPass();
    world_->Files().WriteWholeFile(InFolder(u"a.dll"), item(first), {});
    for (const ContentPlace& damaged : {wrongChecksum, tooLong}) {
      EXPECT_EQ(FailureNumberOf(
                    [&] { world_->Files().WriteWholeFile(InFolder(u"c.dll"), item(damaged), {}); }),
                failure::kInvalidFileFormat);
      EXPECT_EQ(Read(u"c.dll"), BytesOf("old"));
    }
  }
  EXPECT_EQ(Read(u"a.dll"), contentAt(first));
  {
    const std::unique_ptr<PassWrites> pass = world_->Files().BeginPass();
    world_->Files().WriteWholeFile(InFolder(u"c.dll"), item(last), {});
  }
  world_->Files().WriteWholeFile(InFolder(u"b.dll"), item(skipped), {});
  EXPECT_EQ(Read(u"b.dll"), contentAt(skipped));
  EXPECT_EQ(Read(u"c.dll"), contentAt(last));
  EXPECT_EQ(Entries(), (std::vector<Text>{u"a.dll", u"b.dll", u"c.dll"}));
  EXPECT_NE(world_->Files().HoldFile(InFolder(u"c.dll"), item(last)), nullptr);
  EXPECT_EQ(
      FailureNumberOf([&] { world_->Files().HoldFile(InFolder(u"c.dll"), item(wrongChecksum)); }),
      failure::kPathFileAccess);
}

}  // namespace
}  // namespace velbor::testing
