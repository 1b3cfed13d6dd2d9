#include "tests/doubles/scripted_host.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "host/failure.h"
#include "tests/support/bytes.h"
#include "tests/support/failures.h"

namespace velbor::testing {
namespace {

Bytes BytesOf(ByteView view) { return {view.begin(), view.end()}; }

class ScriptedHostTest : public ::testing::Test {
 protected:
  ScriptedHost host_;
};

TEST_F(ScriptedHostTest, AnswersResourcesByNumberAndTypeIgnoringTheTypesCase) {
  host_.Package().SetText(100, u"2");
  host_.Package().SetBytes(101, u"CUSTOM", {1, 2, 3});
  EXPECT_EQ(host_.LoadResourceText(100), u"2");
  EXPECT_EQ(BytesOf(host_.LoadResourceBytes(101, u"custom")), (Bytes{1, 2, 3}));

  const std::optional<HostFailure> missing = FailureOf([&] { host_.LoadResourceText(101); });
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->Number(), failure::kResourceNotFound);
  EXPECT_EQ(missing->Description(), u"Resource with identifier '101' not found");
  EXPECT_EQ(FailureNumberOf([&] { host_.LoadResourceBytes(102, u"CUSTOM"); }),
            failure::kResourceNotFound);
  EXPECT_EQ(FailureNumberOf([&] { host_.LoadResourceBytes(101, u"RCDATA"); }),
            failure::kResourceNotFound);
  host_.Package().RemoveText(100);
  EXPECT_EQ(FailureNumberOf([&] { host_.LoadResourceText(100); }), failure::kResourceNotFound);
}

TEST_F(ScriptedHostTest, ByteViewsOutliveTheirEntry) {
  host_.Package().SetBytes(101, u"CUSTOM", Bytes(1000, 7));
  const ByteView first = host_.LoadResourceBytes(101, u"CUSTOM");
  host_.Package().SetBytes(101, u"CUSTOM", {9});
  EXPECT_EQ(BytesOf(first), Bytes(1000, 7));
  EXPECT_EQ(BytesOf(host_.LoadResourceBytes(101, u"CUSTOM")), Bytes{9});
}

TEST_F(ScriptedHostTest, BoxesTakeQueuedButtonsInOrderThenOk) {
  host_.QueueButton(MessageAnswer::kYes);
  host_.QueueButton(MessageAnswer::kNo);
  EXPECT_EQ(host_.ShowMessage(u"Interrompere?", MessageStyle::kQuestionYesNo, u"Attenzione"),
            MessageAnswer::kYes);
  EXPECT_EQ(host_.ShowMessage(u"again", MessageStyle::kQuestionYesNo, u"Attenzione"),
            MessageAnswer::kNo);
  EXPECT_EQ(host_.ShowMessage(u"Error 9", MessageStyle::kOk, std::nullopt), MessageAnswer::kOk);
  ASSERT_EQ(host_.MessageBoxes().size(), 3u);
  EXPECT_EQ(host_.MessageBoxes()[0].prompt, u"Interrompere?");
  EXPECT_EQ(host_.MessageBoxes()[0].style, MessageStyle::kQuestionYesNo);
  EXPECT_EQ(host_.MessageBoxes()[0].title, Text(u"Attenzione"));
  EXPECT_EQ(host_.MessageBoxes()[2].title, std::nullopt);
}

TEST_F(ScriptedHostTest, PromptsTakeQueuedTextsThenCancel) {
  host_.QueueTypedText(u"D:\\Corsenta");
  EXPECT_EQ(host_.AskText(u"Percorso?", u"Setup", u"C:\\"), u"D:\\Corsenta");
  EXPECT_EQ(host_.AskText(u"Percorso?", u"Setup", u"D:\\Corsenta\\"), u"");
  ASSERT_EQ(host_.Prompts().size(), 2u);
  EXPECT_EQ(host_.Prompts()[0].prompt, u"Percorso?");
  EXPECT_EQ(host_.Prompts()[0].title, u"Setup");
  EXPECT_EQ(host_.Prompts()[1].defaultText, u"D:\\Corsenta\\");
}

TEST_F(ScriptedHostTest, MessageLoopHookRunsWhileBoxesAreOpenAndWhilePumping) {
  std::vector<std::size_t> boxesOpen;
  host_.SetMessageLoopHook([&] { boxesOpen.push_back(host_.MessageBoxes().size()); });
  host_.ShowMessage(u"first", MessageStyle::kOk, std::nullopt);
  host_.AskText(u"prompt", u"Setup", u"");
  host_.PumpMessages();
  EXPECT_EQ(boxesOpen, (std::vector<std::size_t>{1, 1, 1}));

  // A hook may replace itself, as a handler that runs only once would.
  int runs = 0;
  host_.SetMessageLoopHook([&] {
    ++runs;
    host_.SetMessageLoopHook(nullptr);
  });
  host_.PumpMessages();
  host_.PumpMessages();
  EXPECT_EQ(runs, 1);
}

TEST_F(ScriptedHostTest, RecordsProcesses) {
  host_.StartProcess(u"C:\\Windows\\system32\\regsvr32.exe", u"regsvr32.exe \"C:\\a.dll\" /s",
                     WindowStyle::kHidden, u"C:\\", nullptr);
  host_.StartProcess(u"", u"regasm.exe", WindowStyle::kMinimizedFocus, u"", nullptr);
  ASSERT_EQ(host_.StartedProcesses().size(), 2u);
  EXPECT_EQ(host_.StartedProcesses()[0].program, u"C:\\Windows\\system32\\regsvr32.exe");
  EXPECT_EQ(host_.StartedProcesses()[0].commandLine, u"regsvr32.exe \"C:\\a.dll\" /s");
  EXPECT_EQ(host_.StartedProcesses()[1].windowStyle, WindowStyle::kMinimizedFocus);
}

TEST_F(ScriptedHostTest, CountsPumpsPointerResetsAndTheEndOfTheProgram) {
  EXPECT_FALSE(host_.ProgramEnded());
  host_.PumpMessages();
  host_.PumpMessages();
  host_.ResetMousePointer();
  host_.EndProgram();
  EXPECT_EQ(host_.CallCount(Operation::kPumpMessages), 2);
  EXPECT_EQ(host_.CallCount(Operation::kResetMousePointer), 1);
  EXPECT_TRUE(host_.ProgramEnded());
}

TEST_F(ScriptedHostTest, LogsEveryCallInOrderWithItsSubjectAndFailure) {
  host_.Disk().MakeFolder(u"C:\\App");
  host_.FindFileName(u"C:\\App\\a.dll");
  EXPECT_EQ(FailureNumberOf([&] { host_.DeleteFile(u"C:\\App\\a.dll"); }), failure::kFileNotFound);
  host_.WriteWholeFile(u"C:\\App\\a.dll", ByteView(Bytes{1}), {});
  EXPECT_EQ(FailureNumberOf([&] { host_.LoadResourceBytes(101, u"CUSTOM"); }),
            failure::kResourceNotFound);
  host_.EndProgram();
  EXPECT_EQ(host_.Operations(),
            (std::vector<Operation>{Operation::kFindFileName, Operation::kDeleteFile,
                                    Operation::kWriteWholeFile, Operation::kLoadResourceBytes,
                                    Operation::kEndProgram}));
  EXPECT_EQ(host_.Log()[1].subject, u"C:\\App\\a.dll");
  EXPECT_EQ(host_.Log()[1].failure, failure::kFileNotFound);
  EXPECT_EQ(host_.Log()[2].failure, 0);
  EXPECT_EQ(host_.Log()[3].subject, u"101 CUSTOM");
  EXPECT_EQ(host_.Log()[3].failure, failure::kResourceNotFound);
}

TEST_F(ScriptedHostTest, FailsTheNthNextCallOfAnOperation) {
  host_.Package().SetText(101, u"d");
  host_.FailCall(Operation::kLoadResourceText, 2, HostFailure(failure::kOutOfMemory));
  EXPECT_EQ(host_.LoadResourceText(101), u"d");
  host_.PumpMessages();  // calls of other operations do not count
  EXPECT_EQ(FailureNumberOf([&] { host_.LoadResourceText(101); }), failure::kOutOfMemory);
  EXPECT_EQ(host_.LoadResourceText(101), u"d");
  EXPECT_EQ(host_.CallCount(Operation::kLoadResourceText), 2);
  EXPECT_EQ(host_.Log()[2].failure, failure::kOutOfMemory);
}

TEST_F(ScriptedHostTest, FailingCallChangesNothing) {
  host_.Disk().MakeFolder(u"C:\\App");
  host_.Disk().PutFile(u"C:\\App\\a.dll", {1, 2});
  host_.QueueButton(MessageAnswer::kYes);
  host_.QueueTypedText(u"typed");
  int hookRuns = 0;
  host_.SetMessageLoopHook([&] { ++hookRuns; });
  for (Operation operation :
       {Operation::kShowMessage, Operation::kAskText, Operation::kWriteWholeFile,
        Operation::kDeleteFile, Operation::kStartProcess, Operation::kPumpMessages}) {
    host_.FailCall(operation, 1, HostFailure(failure::kDiskFull));
  }
  EXPECT_EQ(FailureNumberOf([&] { host_.ShowMessage(u"m", MessageStyle::kOk, std::nullopt); }),
            failure::kDiskFull);
  EXPECT_EQ(FailureNumberOf([&] { host_.AskText(u"p", u"Setup", u""); }), failure::kDiskFull);
  EXPECT_EQ(
      FailureNumberOf([&] { host_.WriteWholeFile(u"C:\\App\\a.dll", ByteView(Bytes{9}), {}); }),
      failure::kDiskFull);
  EXPECT_EQ(FailureNumberOf([&] { host_.DeleteFile(u"C:\\App\\a.dll"); }), failure::kDiskFull);
  EXPECT_EQ(FailureNumberOf(
                [&] { host_.StartProcess(u"", u"x.exe", WindowStyle::kHidden, u"", nullptr); }),
            failure::kDiskFull);
  EXPECT_EQ(FailureNumberOf([&] { host_.PumpMessages(); }), failure::kDiskFull);

  EXPECT_TRUE(host_.MessageBoxes().empty());
  EXPECT_TRUE(host_.Prompts().empty());
  EXPECT_TRUE(host_.StartedProcesses().empty());
  EXPECT_EQ(hookRuns, 0);
  EXPECT_EQ(host_.Disk().ReadFile(u"C:\\App\\a.dll"), (Bytes{1, 2}));
  // The queued answers wait for the boxes that do open.
  EXPECT_EQ(host_.ShowMessage(u"m", MessageStyle::kOk, std::nullopt), MessageAnswer::kYes);
  EXPECT_EQ(host_.AskText(u"p", u"Setup", u""), u"typed");
}

TEST_F(ScriptedHostTest, TwoPlansForOneCallFailItOnce) {
  host_.FailCall(Operation::kEndProgram, 1, HostFailure(failure::kOverflow));
  host_.FailCall(Operation::kEndProgram, 1, HostFailure(failure::kDiskFull));
  EXPECT_EQ(FailureNumberOf([&] { host_.EndProgram(); }), failure::kOverflow);
  host_.EndProgram();
  EXPECT_TRUE(host_.ProgramEnded());
}

class MemoryDiskTest : public ::testing::Test {
 protected:
  void SetUp() override { disk_.MakeFolder(u"C:\\Program Files\\Velbor"); }

  MemoryFileSystem disk_;
};

TEST_F(MemoryDiskTest, FindsFoldersInAnyCaseAndKeepsTheirCase) {
  disk_.WriteWholeFile(u"c:\\PROGRAM FILES\\velbor\\Corsenta.exe", Bytes{1});
  EXPECT_EQ(disk_.List(u"C:\\Program Files\\"), std::vector<Text>{u"Velbor"});
  EXPECT_EQ(disk_.FindFileName(u"C:/Program Files/Velbor/CORSENTA.EXE"), u"Corsenta.exe");
  EXPECT_EQ(disk_.FindFileName(u"C:\\Program Files\\Velbor\\..\\Velbor\\.\\Corsenta.exe"),
            u"Corsenta.exe");
}

TEST_F(MemoryDiskTest, ResolvesRelativeAndRootedPathsAgainstTheCurrentFolder) {
  disk_.SetCurrentFolder(u"C:\\Program Files\\Velbor\\");
  disk_.WriteWholeFile(u"Brevanti.zip", Bytes{5});
  EXPECT_EQ(disk_.ReadFile(u"C:\\Program Files\\Velbor\\Brevanti.zip"), Bytes{5});
  disk_.WriteWholeFile(u"\\root.txt", Bytes{6});
  EXPECT_EQ(disk_.ReadFile(u"C:\\root.txt"), Bytes{6});
}

TEST_F(MemoryDiskTest, RefusesBadNames) {
  EXPECT_EQ(FailureNumberOf([&] { disk_.WriteWholeFile(u"C:\\a<b.txt", Bytes{}); }),
            failure::kBadFileName);
  EXPECT_EQ(FailureNumberOf([&] { disk_.WriteWholeFile(u"C:\\Program Files\\", Bytes{}); }),
            failure::kBadFileName);
  EXPECT_EQ(FailureNumberOf([&] { disk_.DeleteFile(u"C:\\*.txt"); }), failure::kBadFileName);
  EXPECT_EQ(FailureNumberOf([&] { disk_.WriteWholeFile(u"", Bytes{}); }), failure::kBadFileName);
  EXPECT_EQ(disk_.FindFileName(u""), u"");
}

TEST_F(MemoryDiskTest, PathThroughAFileOrAMissingDriveIsNotFound) {
  disk_.PutFile(u"C:\\file.txt", {});
  EXPECT_EQ(FailureNumberOf([&] { disk_.WriteWholeFile(u"C:\\file.txt\\a", Bytes{}); }),
            failure::kPathNotFound);
  EXPECT_EQ(FailureNumberOf([&] { disk_.WriteWholeFile(u"Q:\\a.txt", Bytes{}); }),
            failure::kPathNotFound);
  EXPECT_EQ(disk_.FindFileName(u"Q:\\a.txt"), u"");
}

TEST_F(MemoryDiskTest, ReplacedFileKeepsItsNameAndAttributes) {
  disk_.PutFile(u"C:\\Notes.TXT", {1, 2, 3}, {.hidden = true});
  disk_.WriteWholeFile(u"C:\\notes.txt", Bytes{4});
  EXPECT_EQ(disk_.List(u"C:\\"), (std::vector<Text>{u"Notes.TXT", u"Program Files"}));
  EXPECT_EQ(disk_.FindFileName(u"C:\\notes.txt"), u"");  // still hidden
}

}  // namespace
}  // namespace velbor::testing
