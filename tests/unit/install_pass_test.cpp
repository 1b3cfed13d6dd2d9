#include "app/install_pass.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "host/failure.h"
#include "package/package_format.h"
#include "tests/contract/zstd_test_frame.h"
#include "tests/doubles/scripted_host.h"
#include "tests/unit/installer_test_support.h"
#include "tests/unit/item_stream_support.h"

namespace velbor {
namespace {

using testing::AddItem;
using testing::Bytes;
using testing::kCommonFolder;
using testing::kCommonTemplate;
using testing::kCorsentaFolder;
using testing::kCorsentaTemplate;
using testing::Operation;
using testing::ScriptedHost;
using testing::ScriptedResolver;
using testing::StartedProcess;
using testing::StartedProcessesOf;
using testing::SucceededCalls;
using enum WindowStyle;

constexpr char16_t kRegsvr32[] = u"C:\\Windows\\system32\\regsvr32.exe";
constexpr char16_t kQuotedRegasm[] =
    u"\"C:\\WINDOWS\\Microsoft.NET\\Framework\\v2.0.50727\\regasm.exe\"";

Text InCorsenta(const Text& name) { return kCorsentaFolder + name; }

Text Regasm(const Text& arguments) { return Text(kQuotedRegasm) + arguments; }

class InstallPassTest : public ::testing::Test {
 protected:
  bool Pass() { return InstallPass(table_, testing::HostOf(host_), resolver_.Resolver()); }

  std::optional<Bytes> FileAt(const Text& path) { return host_.Disk().ReadFile(path); }

  ScriptedHost host_;
  ScriptedResolver resolver_{host_};
  ItemTable table_{0};
};

TEST_F(InstallPassTest, InstallsTheShippedPackage) {
  AddItem(host_, 0, u"Brevanti.zip|<APPPATH>Corsenta/|N|", {0x50, 0x4B, 0});
  ASSERT_TRUE(Pass());
  EXPECT_EQ(FileAt(InCorsenta(u"Brevanti.zip")), (Bytes{0x50, 0x4B, 0}));
  EXPECT_EQ(host_.Operations(),
            (std::vector<Operation>{Operation::kLoadResourceText, Operation::kAskText,
                                    Operation::kLoadResourceBytes, Operation::kWriteWholeFile,
                                    Operation::kShowMessage}));
  EXPECT_EQ(host_.Log()[2].subject, u"101 CUSTOM");
  EXPECT_TRUE(host_.StartedProcesses().empty());
  ASSERT_EQ(host_.MessageBoxes().size(), 1u);
  EXPECT_EQ(host_.MessageBoxes()[0].prompt, u"Aggiornamento terminato!");
  EXPECT_EQ(host_.MessageBoxes()[0].style, MessageStyle::kInformation);
  EXPECT_EQ(host_.MessageBoxes()[0].title, u"Velbor S.r.l.");
  EXPECT_EQ(table_.ItemFile(0), u"Brevanti.zip");
  EXPECT_EQ(table_.PathCache(0, 0), kCorsentaTemplate);
  EXPECT_EQ(table_.PathCache(0, 1), kCorsentaFolder);
  EXPECT_TRUE(table_.IsDone(0));
  EXPECT_EQ(table_.ItemState(0, 1), u"");
}

// Progress counts the bytes of the items pending when the pass began (each write
// tells half of its item on the way), and is over before the completion box.
TEST_F(InstallPassTest, ShowsTheBytesWrittenOfThePendingItemsUntilThePassIsOver) {
  table_ = ItemTable(2);
  AddItem(host_, 0, u"a.txt|<APPPATH>Corsenta/|N|", Bytes(5));
  AddItem(host_, 1, u"b.txt|<APPPATH>Corsenta/|N|", Bytes(4));
  AddItem(host_, 2, u"c.txt|<APPPATH>Corsenta/|N|", Bytes(6));
  host_.Disk().PutFile(InCorsenta(u"b.txt"), {9});
  host_.Disk().HoldOpen(InCorsenta(u"b.txt"));
  EXPECT_FALSE(Pass());
  EXPECT_EQ(host_.ProgressShown(),
            (std::vector<std::string>{"begins", "written 0 of 15", "written 2 of 15",
                                      "written 5 of 15", "written 7 of 15", "ended"}));

  host_.Disk().Release(InCorsenta(u"b.txt"));
  std::string shownAtTheBox;
  host_.SetMessageLoopHook([&] {
    if (host_.Log().back().operation == Operation::kShowMessage) {
      shownAtTheBox = host_.ProgressShown().back();
    }
  });
  const std::size_t secondPass = host_.ProgressShown().size();
  ASSERT_TRUE(Pass());
  EXPECT_EQ(
      std::vector<std::string>(
          host_.ProgressShown().begin() + static_cast<std::ptrdiff_t>(secondPass),
          host_.ProgressShown().end()),
      (std::vector<std::string>{"begins", "written 0 of 10", "written 2 of 10", "written 4 of 10",
                                "written 7 of 10", "written 10 of 10", "ended"}));
  EXPECT_EQ(shownAtTheBox, "ended");
}

// A compressed item is written as its content; progress counts decoded bytes.
TEST_F(InstallPassTest, WritesACompressedItemAsItsContent) {
  host_.Package().SetText(kFirstItemResource, u"a.txt|<APPPATH>Corsenta/|N|");
  host_.Package().SetBytes(kFirstItemResource, kCompressedItemType,
                           Bytes(testing::kTestFrame.begin(), testing::kTestFrame.end()));
  ASSERT_TRUE(Pass());
  const std::optional<Bytes> written = FileAt(InCorsenta(u"a.txt"));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->size(), testing::kTestFrameContentSize);
  EXPECT_EQ(std::string(written->begin(), written->begin() + 14), "velbor\nvelbor\n");
  EXPECT_EQ(
      host_.ProgressShown(),
      (std::vector<std::string>{"begins", "written 0 of 4200000", "written 2100000 of 4200000",
                                "written 4200000 of 4200000", "ended"}));
}

// Items stored together are written as their contents: a pass that stops at an
// item in use is resumed there, the stream decoded past the item already done.
TEST_F(InstallPassTest, WritesItemsStoredTogetherAndResumesAfterAnItemInUse) {
  table_ = ItemTable(2);
  const std::vector<Bytes> contents{Bytes(70000, 1), Bytes{}, Bytes(5000, 3)};
  const testing::TestStream stream = testing::StoredTogether(contents);
  host_.Package().SetBytes(kItemStreamResource, kItemStreamType, stream.frame);
  host_.Package().SetBytes(kItemStreamTableResource, kItemStreamType, stream.table);
  const Text names[] = {u"a.dll", u"b.txt", u"c.dll"};
  for (std::int32_t item = 0; item < 3; ++item) {
    host_.Package().SetText(kFirstItemResource + item, names[item] + u"|<APPPATH>Corsenta/|N|");
  }
  host_.Disk().PutFile(InCorsenta(u"b.txt"), {9});
  host_.Disk().HoldOpen(InCorsenta(u"b.txt"));
  EXPECT_FALSE(Pass());
  EXPECT_EQ(FileAt(InCorsenta(u"a.dll")), contents[0]);
  EXPECT_FALSE(FileAt(InCorsenta(u"c.dll")));

  host_.Disk().Release(InCorsenta(u"b.txt"));
  ASSERT_TRUE(Pass());
  for (std::int32_t item = 0; item < 3; ++item) {
    EXPECT_EQ(FileAt(InCorsenta(names[item])), contents[static_cast<std::size_t>(item)]);
  }
  EXPECT_EQ(SucceededCalls(host_, Operation::kWriteWholeFile, InCorsenta(u"a.dll")), 1);
}

// A stream damaged after the check at start never replaces a target with content
// other than its item's, wherever the damage lies: each item's checksum and size
// are checked before its write takes the target's name.
TEST_F(InstallPassTest, ADamagedStreamNeverReplacesATarget) {
  const std::vector<Bytes> contents{Bytes(300000, 1), Bytes(200000, 2)};
  const testing::TestStream sound = testing::StoredTogether(contents);
  for (const std::size_t at :
       {std::size_t{12}, sound.frame.size() / 3, sound.frame.size() / 2, sound.frame.size() - 2}) {
    SCOPED_TRACE(at);
    ScriptedHost host;
    ScriptedResolver resolver{host};
    ItemTable table(1);
    Bytes damaged = sound.frame;
    damaged[at] ^= 0x10;
    host.Package().SetBytes(kItemStreamResource, kItemStreamType, damaged);
    host.Package().SetBytes(kItemStreamTableResource, kItemStreamType, sound.table);
    host.Package().SetText(kFirstItemResource, u"a.dll|<APPPATH>Corsenta/|N|");
    host.Package().SetText(kFirstItemResource + 1, u"b.dll|<APPPATH>Corsenta/|N|");
    host.Disk().PutFile(InCorsenta(u"a.dll"), {7});
    host.Disk().PutFile(InCorsenta(u"b.dll"), {7});
    const bool passed = InstallPass(table, testing::HostOf(host), resolver.Resolver());
    // The frame's own checksum, its last 4 bytes, comes after every item's content.
    EXPECT_EQ(passed, at >= sound.frame.size() - 4);
    for (std::size_t item = 0; item < 2; ++item) {
      const std::optional<Bytes> written =
          host.Disk().ReadFile(InCorsenta(item == 0 ? u"a.dll" : u"b.dll"));
      ASSERT_TRUE(written);
      if (*written != Bytes{7}) {
        EXPECT_EQ(*written, contents[item]);
      }
    }
  }
}

TEST_F(InstallPassTest, PassFailingAtItemTwoIsResumedThere) {
  table_ = ItemTable(3);
  AddItem(host_, 0, u"a.txt|<APPPATH>Corsenta/|N|", {1});
  AddItem(host_, 1, u"b.txt|<COMMONPATH>Velbor/|N|", {2});
  AddItem(host_, 2, u"c.txt|<APPPATH>Corsenta\\|N|", {3});
  AddItem(host_, 3, u"d.txt|<APPPATH>Corsenta/|N|", {4});
  host_.Disk().PutFile(InCorsenta(u"c.txt"), {9});
  host_.Disk().HoldOpen(InCorsenta(u"c.txt"));

  EXPECT_FALSE(Pass());
  EXPECT_TRUE(table_.IsDone(0));
  EXPECT_TRUE(table_.IsDone(1));
  EXPECT_EQ(table_.ItemState(2, 0), u"N");
  EXPECT_EQ(table_.ItemFile(3), u"");
  EXPECT_EQ(table_.ItemState(3, 0), u"");
  EXPECT_EQ(FileAt(InCorsenta(u"c.txt")), Bytes{9});
  EXPECT_FALSE(FileAt(InCorsenta(u"d.txt")));
  EXPECT_TRUE(host_.MessageBoxes().empty());

  host_.Disk().Release(InCorsenta(u"c.txt"));
  const std::size_t secondPass = host_.Log().size();
  ASSERT_TRUE(Pass());
  // Done items are skipped but still use up their numbers: item 2 reads 103.
  EXPECT_EQ(host_.Log()[secondPass].subject, u"103");
  EXPECT_EQ(FileAt(InCorsenta(u"c.txt")), Bytes{3});
  EXPECT_EQ(FileAt(InCorsenta(u"d.txt")), Bytes{4});
  EXPECT_EQ(SucceededCalls(host_, Operation::kWriteWholeFile, InCorsenta(u"a.txt")), 1);
  // "/" and "\" spell one template: two resolutions in all, none by the second pass.
  EXPECT_EQ(resolver_.Asked(), (std::vector<Text>{kCorsentaTemplate, kCommonTemplate}));
}

TEST_F(InstallPassTest, StartsRegistrationAsFlagAndKindAsk) {
  table_ = ItemTable(6);
  AddItem(host_, 0, u"Com.dll|<APPPATH>Corsenta/|S|", {1});
  AddItem(host_, 1, u"Net.dll|<APPPATH>Corsenta/|S|R", {2});
  AddItem(host_, 2, u"Lower.dll|<APPPATH>Corsenta/|s|R", {3});
  AddItem(host_, 3, u"LowerKind.dll|<APPPATH>Corsenta/|S|r", {4});
  AddItem(host_, 4, u"x.dll.dll|<APPPATH>Corsenta/|S|R", {5});
  AddItem(host_, 5, u"Tool.DLL|<APPPATH>Corsenta/|S|R", {6});
  AddItem(host_, 6, u"My Lib.Dll|<APPPATH>Corsenta/|S|R", {7});
  ASSERT_TRUE(Pass());

  const Text regsvr32Program = kRegsvr32;
  EXPECT_EQ(
      StartedProcessesOf(host_),
      (std::vector<StartedProcess>{
          {regsvr32Program, u"regsvr32.exe \"C:\\Velbor\\Corsenta\\Com.dll\" /s", kHidden},
          {u"", Regasm(u" /nologo \"C:\\Velbor\\Corsenta\\Net.dll\" /tlb:Net.tlb"),
           kMinimizedFocus},
          {u"", Regasm(u" /codebase \"C:\\Velbor\\Corsenta\\Net.dll\""), kHidden},
          {regsvr32Program, u"regsvr32.exe \"C:\\Velbor\\Corsenta\\LowerKind.dll\" /s", kHidden},
          {u"", Regasm(u" /nologo \"C:\\Velbor\\Corsenta\\x.dll.dll\" /tlb:x.tlb.tlb"),
           kMinimizedFocus},
          {u"", Regasm(u" /codebase \"C:\\Velbor\\Corsenta\\x.dll.dll\""), kHidden},
          // The type library never takes the assembly's own name, and a
          // blank does not split its argument in two.
          {u"", Regasm(u" /nologo \"C:\\Velbor\\Corsenta\\Tool.DLL\" /tlb:Tool.tlb"),
           kMinimizedFocus},
          {u"", Regasm(u" /codebase \"C:\\Velbor\\Corsenta\\Tool.DLL\""), kHidden},
          {u"", Regasm(u" /nologo \"C:\\Velbor\\Corsenta\\My Lib.Dll\" /tlb:\"My Lib.tlb\""),
           kMinimizedFocus},
          {u"", Regasm(u" /codebase \"C:\\Velbor\\Corsenta\\My Lib.Dll\""), kHidden}}));
  // Every tool runs in its item's folder and holds the file it registers; both
  // regasm commands of an item share one hold.
  const auto& started = host_.StartedProcesses();
  for (const ScriptedHost::ProcessStarted& process : started) {
    EXPECT_EQ(process.workingFolder, kCorsentaFolder);
    const auto* hold = dynamic_cast<const ScriptedHost::Hold*>(process.heldUntilEnded.get());
    ASSERT_NE(hold, nullptr);
    EXPECT_NE(process.commandLine.find(hold->path), Text::npos) << Utf8FromText(hold->path);
  }
  EXPECT_EQ(started[1].heldUntilEnded, started[2].heldUntilEnded);
  EXPECT_EQ(host_.CallCount(Operation::kHoldFile), 6);
}

TEST_F(InstallPassTest, RegasmOutsideTheSystemsWindowsFolderCountsAsMissing) {
  AddItem(host_, 0, u"Net.dll|<APPPATH>Corsenta/|S|R", {2});
  host_.SetWindowsFolder(u"D:\\Windows");
  EXPECT_FALSE(Pass());
  EXPECT_TRUE(host_.StartedProcesses().empty());
  EXPECT_EQ(table_.ItemState(0, 0), u"S");

  host_.SetWindowsFolder(u"c:\\windows");
  EXPECT_TRUE(Pass());
  EXPECT_EQ(host_.StartedProcesses().size(), 2u);
}

// A file that is not the one written when the pass comes to hold it fails the
// item before any tool could load it.
TEST_F(InstallPassTest, FileSwappedBeforeItIsHeldIsNotRegistered) {
  AddItem(host_, 0, u"Com.dll|<APPPATH>Corsenta/|S|", {1});
  host_.FailCall(Operation::kHoldFile, 1, HostFailure(failure::kPathFileAccess));
  EXPECT_FALSE(Pass());
  EXPECT_TRUE(host_.StartedProcesses().empty());
  EXPECT_FALSE(table_.IsDone(0));
}

TEST_F(InstallPassTest, AnyFailureIsAFailedPass) {
  AddItem(host_, 0, u"a.txt|<APPPATH>Corsenta/|N|", {1});
  table_ = ItemTable(0);
  EXPECT_FALSE(InstallPass(table_, testing::HostOf(host_),
                           [](const Text&) -> Text { throw std::bad_alloc(); }));
  EXPECT_FALSE(table_.IsDone(0));
}

TEST_F(InstallPassTest, ThreeFieldDescriptorFailsEvenWithoutRegistration) {
  AddItem(host_, 0, u"a.txt|<APPPATH>Corsenta/|N", {1});
  EXPECT_FALSE(Pass());
  EXPECT_FALSE(Pass());
  EXPECT_EQ(table_.ItemState(0, 0), u"N");
  EXPECT_TRUE(resolver_.Asked().empty());
  EXPECT_EQ(host_.CallCount(Operation::kWriteWholeFile), 0);
}

TEST_F(InstallPassTest, PassOverDoneItemsOnlyShowsTheCompletionBox) {
  table_ = ItemTable(1);
  table_.MarkDone(0);
  table_.MarkDone(1);
  ASSERT_TRUE(Pass());
  EXPECT_EQ(host_.Operations(), std::vector<Operation>{Operation::kShowMessage});
}

// The target is replaced in one step, never deleted first, so a failed write
// leaves the old file whole.
TEST_F(InstallPassTest, FailedWriteLeavesTheOldFileAsItWas) {
  AddItem(host_, 0, u"a.dll|<APPPATH>Corsenta/|N|", {1, 2, 3});
  host_.Disk().PutFile(InCorsenta(u"a.dll"), {7, 7});
  host_.FailCall(Operation::kWriteWholeFile, 1, HostFailure(failure::kDiskFull));
  EXPECT_FALSE(Pass());
  EXPECT_EQ(FileAt(InCorsenta(u"a.dll")), (Bytes{7, 7}));
  EXPECT_EQ(host_.Disk().List(kCorsentaFolder), std::vector<Text>{u"a.dll"});

  ASSERT_TRUE(Pass());
  EXPECT_EQ(FileAt(InCorsenta(u"a.dll")), (Bytes{1, 2, 3}));
  EXPECT_EQ(host_.Disk().List(kCorsentaFolder), std::vector<Text>{u"a.dll"});
  EXPECT_EQ(host_.CallCount(Operation::kDeleteFile), 0);
  EXPECT_EQ(host_.CallCount(Operation::kFindFileName), 0);
}

// No folder is a failure that stays until the next press: the empty answer is
// cached, and the bare name is never written into the current folder.
TEST_F(InstallPassTest, TemplateWithoutAFolderFailsItsItem) {
  table_ = ItemTable(1);
  AddItem(host_, 0, u"a.dll|<APPPATH>Tavrelio/|S|", {1});
  AddItem(host_, 1, u"b.dll|<APPPATH>Tavrelio/|S|", {2});
  EXPECT_FALSE(Pass());
  EXPECT_FALSE(Pass());
  EXPECT_EQ(resolver_.Asked(), std::vector<Text>{u"<APPPATH>Tavrelio\\"});
  EXPECT_EQ(table_.PathCache(0, 1), u"");
  EXPECT_EQ(table_.ItemState(0, 0), u"S");
  EXPECT_EQ(host_.CallCount(Operation::kLoadResourceBytes), 0);
  EXPECT_EQ(host_.CallCount(Operation::kWriteWholeFile), 0);
  EXPECT_TRUE(host_.StartedProcesses().empty());
  EXPECT_TRUE(host_.MessageBoxes().empty());
  EXPECT_FALSE(FileAt(u"C:\\a.dll"));
}

// Three items, the second with an old file to replace; the calls of one whole
// pass, each made to fail in turn.
class FailureAtEveryCallTest : public ::testing::Test {
 protected:
  struct World {
    ScriptedHost host;
    ScriptedResolver resolver{host};
    ItemTable table{2};

    World() {
      AddItem(host, 0, u"a.dll|<APPPATH>Corsenta/|S|", {1});
      AddItem(host, 1, u"b.dll|<APPPATH>Corsenta/|S|R", {2});
      AddItem(host, 2, u"c.txt|<COMMONPATH>Velbor/|N|", {3});
      host.Disk().PutFile(InCorsenta(u"b.dll"), {9});
    }
    bool Pass() { return InstallPass(table, testing::HostOf(host), resolver.Resolver()); }
  };

  static constexpr std::int32_t kItems = 3;
  static std::uint8_t NewContent(std::int32_t item) { return static_cast<std::uint8_t>(item + 1); }
  static inline const Text kPaths[kItems] = {InCorsenta(u"a.dll"), InCorsenta(u"b.dll"),
                                             Text(kCommonFolder) + u"c.txt"};
  static inline const std::optional<Bytes> kOldContent[kItems] = {std::nullopt, Bytes{9},
                                                                  std::nullopt};
};

TEST_F(FailureAtEveryCallTest, LeavesTheStateToResumeFrom) {
  World reference;
  ASSERT_TRUE(reference.Pass());
  const std::vector<ScriptedHost::Call> calls = reference.host.Log();

  for (std::size_t failing = 0; failing < calls.size(); ++failing) {
    const Operation operation = calls[failing].operation;
    int nth = 0;
    // The item that the call belongs to (kItems for the completion box), and
    // whether that item's file had been written before it.
    std::int32_t item = -1;
    bool itemWritten = false;
    for (std::size_t call = 0; call <= failing; ++call) {
      if (calls[call].operation == operation) ++nth;
      if (calls[call].operation == Operation::kLoadResourceText) ++item;
      if (call < failing && calls[call].operation == Operation::kWriteWholeFile) {
        itemWritten = true;
      }
      if (calls[call].operation == Operation::kLoadResourceText) itemWritten = false;
    }
    if (operation == Operation::kShowMessage) item = kItems;
    SCOPED_TRACE(std::string(testing::OperationName(operation)) + " #" + std::to_string(nth));

    World world;
    world.host.FailCall(operation, nth, HostFailure(failure::kDiskFull));
    EXPECT_FALSE(world.Pass());
    std::size_t filesThere = 0;
    for (std::int32_t i = 0; i < kItems; ++i) {
      EXPECT_EQ(world.table.IsDone(i), i < item) << "item " << i;
      if (i > item) {
        EXPECT_EQ(world.table.ItemFile(i), u"") << "item " << i;
      }
      const bool written = i < item || (i == item && itemWritten);
      const std::optional<Bytes> expected = written ? Bytes{NewContent(i)} : kOldContent[i];
      EXPECT_EQ(world.host.Disk().ReadFile(kPaths[i]), expected) << "item " << i;
      if (expected) ++filesThere;
    }
    // Nothing but the items' own files, each whole.
    EXPECT_EQ(world.host.Disk().List(kCorsentaFolder).size() +
                  world.host.Disk().List(kCommonFolder).size(),
              filesThere);

    ASSERT_TRUE(world.Pass());
    for (std::int32_t i = 0; i < kItems; ++i) {
      EXPECT_TRUE(world.table.IsDone(i));
      EXPECT_EQ(world.host.Disk().ReadFile(kPaths[i]), Bytes{NewContent(i)});
      if (i < item) {
        EXPECT_EQ(SucceededCalls(world.host, Operation::kWriteWholeFile, kPaths[i]), 1);
      }
    }
    EXPECT_EQ(world.table.PathCache(0, 0), kCorsentaTemplate);
    EXPECT_EQ(world.table.PathCache(1, 0), kCommonTemplate);
  }
}

}  // namespace
}  // namespace velbor
