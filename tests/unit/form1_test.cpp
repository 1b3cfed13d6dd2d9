#include "app/form1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "host/failure.h"
#include "tests/doubles/scripted_host.h"
#include "tests/unit/installer_test_support.h"

namespace velbor {
namespace {

using testing::AddItem;
using testing::kCommonFolder;
using testing::kCommonTemplate;
using testing::kCorsentaFolder;
using testing::kCorsentaTemplate;
using testing::Operation;
using testing::RecordingMainWindow;
using testing::ScriptedHost;
using testing::ScriptedResolver;
using testing::SucceededCalls;

// The payload's check as the window's logic sees it: a verdict, and how far the
// check comes while a press waits for it.
class ScriptedPayloadCheck final : public PayloadCheck {
 public:
  static constexpr std::uint64_t kTotal = 300;

  std::optional<PayloadDamage> AwaitVerdict(const CheckProgress& progress) override {
    for (const std::uint64_t checked : stillToCheck) {
      if (progress) progress(checked, kTotal);
    }
    stillToCheck.clear();
    return verdict;
  }

  std::optional<PayloadDamage> verdict;
  // What a press that waits hears before the verdict; empty once the check ended.
  std::vector<std::uint64_t> stillToCheck;
};

// Two items; while item 1's file is held open every pass fails there.
class Form1Test : public ::testing::Test {
 protected:
  Form1Test() {
    host_.Package().SetText(100, u"2");
    AddItem(host_, 0, u"a.txt|<APPPATH>Corsenta/|N|", {1});
    AddItem(host_, 1, u"b.txt|<COMMONPATH>Velbor/|N|", {2});
    host_.Disk().PutFile(kLockedFile, {9});
  }

  void FailEveryPass() { host_.Disk().HoldOpen(kLockedFile); }
  void LetPassesSucceed() { host_.Disk().Release(kLockedFile); }

  void Press() { form_.cmdAvviaConTimer_Click(); }
  void Tick() { form_.Timer_Timer(); }
  void Ticks(int count) {
    for (int tick = 0; tick < count; ++tick) Tick();
  }

  int Reads(std::int32_t resource) const {
    return SucceededCalls(host_, Operation::kLoadResourceText, DecimalText(resource));
  }

  // Delivers `event` once, the first time the message loop runs inside one of
  // `operations`: a handler that let it through would otherwise run it again and
  // again from its own boxes.
  void DeliverOnceInside(std::vector<Operation> operations, std::function<void()> event) {
    host_.SetMessageLoopHook([this, operations = std::move(operations), event = std::move(event)] {
      const Operation open = host_.Log().back().operation;
      if (std::find(operations.begin(), operations.end(), open) == operations.end()) return;
      host_.SetMessageLoopHook(nullptr);
      event();
    });
  }

  const Text kLockedFile = Text(kCommonFolder) + u"b.txt";
  ScriptedHost host_;
  ScriptedResolver resolver_{host_};
  RecordingMainWindow window_;
  ScriptedPayloadCheck check_;
  Form1 form_{testing::HostOf(host_), window_, resolver_.Resolver(), check_};
};

TEST_F(Form1Test, PressWhosePassSucceedsEndsTheProgram) {
  Press();
  EXPECT_TRUE(host_.ProgramEnded());
  ASSERT_EQ(host_.MessageBoxes().size(), 1u);
  EXPECT_EQ(host_.MessageBoxes()[0].prompt, u"Aggiornamento terminato!");
  EXPECT_TRUE(window_.timerSettings.empty());
  EXPECT_EQ(window_.caption, u"Installa Brevanti");
  EXPECT_EQ(form_.Table().LastIndex(), 1);
}

TEST_F(Form1Test, FailedPressArmsTheTimerAndEveryFailedTickCounts) {
  FailEveryPass();
  Press();
  EXPECT_FALSE(host_.ProgramEnded());
  EXPECT_TRUE(host_.MessageBoxes().empty());
  EXPECT_EQ(window_.timerSettings, std::vector<bool>{true});
  EXPECT_EQ(window_.caption, u"Installa Brevanti");
  EXPECT_EQ(form_.AttemptCount(), 0);

  Tick();
  EXPECT_EQ(form_.AttemptCount(), 1);
  EXPECT_EQ(window_.caption, u"1");
  EXPECT_EQ(host_.CallCount(Operation::kPumpMessages), 1);
  EXPECT_EQ(Reads(101), 1);  // item 0 stays done
  EXPECT_EQ(Reads(102), 2);

  LetPassesSucceed();
  Tick();
  EXPECT_EQ(window_.timerSettings, (std::vector<bool>{true, false}));
  EXPECT_TRUE(host_.ProgramEnded());
  EXPECT_EQ(host_.MessageBoxes().size(), 1u);
  EXPECT_EQ(window_.caption, u"1");
}

// Each pass shows its own progress; between them, while the timer is to retry,
// the update shows as waiting.
TEST_F(Form1Test, ShowsTheUpdateWaitingWhileTheTimerIsToRetry) {
  const std::vector<std::string>& shown = host_.ProgressShown();
  FailEveryPass();
  Press();
  EXPECT_EQ(shown.front(), "begins");
  EXPECT_EQ(shown.back(), "waiting");
  const std::size_t tick = shown.size();
  Tick();
  EXPECT_EQ(shown[tick], "begins");
  EXPECT_EQ(shown.back(), "waiting");

  Ticks(39);
  host_.QueueButton(MessageAnswer::kYes);
  Tick();
  EXPECT_EQ(shown.back(), "not waiting");

  LetPassesSucceed();
  Press();
  EXPECT_TRUE(host_.ProgramEnded());
  EXPECT_EQ(shown.back(), "ended");
}

TEST_F(Form1Test, YesAfterFortyFailedTicksStopsAndTellsWhatWasUpdated) {
  FailEveryPass();
  Press();
  Ticks(39);
  EXPECT_TRUE(host_.MessageBoxes().empty());
  Tick();  // the fortieth still runs a pass
  EXPECT_EQ(window_.caption, u"40");
  EXPECT_TRUE(host_.MessageBoxes().empty());

  const int passes = Reads(102);
  host_.QueueButton(MessageAnswer::kYes);
  Tick();
  ASSERT_EQ(host_.MessageBoxes().size(), 2u);
  EXPECT_EQ(host_.MessageBoxes()[0].prompt, u"Interrompere?");
  EXPECT_EQ(host_.MessageBoxes()[0].style, MessageStyle::kQuestionYesNo);
  EXPECT_EQ(host_.MessageBoxes()[0].title, u"Attenzione");
  EXPECT_EQ(host_.MessageBoxes()[1].prompt,
            u"Aggiornamento interrotto!\r\n\r\n"
            u"Elenco file aggiornati: a.txt\r\n\r\n"
            u"Elenco file NON aggiornati: b.txt\r\n\r\n");
  EXPECT_EQ(host_.MessageBoxes()[1].style, MessageStyle::kWarning);
  EXPECT_EQ(host_.MessageBoxes()[1].title, u"Aggiornamento");
  EXPECT_EQ(Reads(102), passes);
  EXPECT_EQ(form_.AttemptCount(), 40);
  EXPECT_EQ(window_.caption, u"40");
  EXPECT_FALSE(window_.timerEnabled);
  EXPECT_FALSE(host_.ProgramEnded());

  Press();  // only a press starts over
  EXPECT_EQ(form_.AttemptCount(), 0);
  EXPECT_TRUE(window_.timerEnabled);
  EXPECT_EQ(Reads(101), 2);
}

TEST_F(Form1Test, NoRunsThatTicksPassAndTheQuestionReturnsFortyTicksLater) {
  FailEveryPass();
  Press();
  Ticks(40);
  const int passes = Reads(102);
  host_.QueueButton(MessageAnswer::kNo);
  Tick();
  EXPECT_EQ(Reads(102), passes + 1);
  EXPECT_EQ(form_.AttemptCount(), 1);
  EXPECT_EQ(window_.caption, u"1");
  EXPECT_TRUE(window_.timerEnabled);

  Ticks(39);
  EXPECT_EQ(host_.MessageBoxes().size(), 1u);
  Tick();  // any answer but Yes goes on
  EXPECT_EQ(host_.MessageBoxes().size(), 2u);
  EXPECT_EQ(form_.AttemptCount(), 1);
}

TEST_F(Form1Test, PressWhileTheTimerRunsStartsOver) {
  FailEveryPass();
  Press();
  Tick();
  Press();
  EXPECT_EQ(form_.AttemptCount(), 0);
  EXPECT_EQ(window_.caption, u"1");
  EXPECT_EQ(window_.timerSettings, (std::vector<bool>{true, true}));
  EXPECT_EQ(SucceededCalls(host_, Operation::kWriteWholeFile, Text(kCorsentaFolder) + u"a.txt"), 2);
  EXPECT_EQ(resolver_.Asked(), (std::vector<Text>{kCorsentaTemplate, kCommonTemplate,
                                                  kCorsentaTemplate, kCommonTemplate}));
}

struct CountCase {
  const char* name;
  std::optional<Text> countText;  // none: string 100 is missing
  std::int32_t number;
  Text description;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CountCase& countCase, std::ostream* out) { *out << countCase.name; }

class PressErrorTest : public Form1Test, public ::testing::WithParamInterface<CountCase> {};

TEST_P(PressErrorTest, CountThatCannotSizeTheTableShowsTheErrorBox) {
  if (GetParam().countText) {
    host_.Package().SetText(100, *GetParam().countText);
  } else {
    host_.Package().RemoveText(100);
  }
  Press();
  ASSERT_EQ(host_.MessageBoxes().size(), 1u);
  EXPECT_EQ(host_.MessageBoxes()[0].prompt,
            u"Error " + DecimalText(GetParam().number) + u" (" + GetParam().description +
                u") in procedure cmdAvviaConTimer_Click of Form Form1");
  EXPECT_EQ(host_.MessageBoxes()[0].style, MessageStyle::kOk);
  EXPECT_EQ(host_.MessageBoxes()[0].title, std::nullopt);
  EXPECT_EQ(Reads(101), 0);
  EXPECT_TRUE(window_.timerSettings.empty());
  EXPECT_EQ(form_.AttemptCount(), 0);
  EXPECT_FALSE(host_.ProgramEnded());
}

INSTANTIATE_TEST_SUITE_P(Counts, PressErrorTest,
                         ::testing::Values(CountCase{"Zero", u"0", 9, u"Subscript out of range"},
                                           CountCase{"Empty", u"", 9, u"Subscript out of range"},
                                           CountCase{"Missing", std::nullopt, 326,
                                                     u"Resource with identifier '100' not found"},
                                           CountCase{"Huge", u"2147483647", 7, u"Out of memory"},
                                           CountCase{"BeyondLong", u"3000000000", 6, u"Overflow"}),
                         [](const ::testing::TestParamInfo<CountCase>& tested) {
                           return std::string(tested.param.name);
                         });

TEST_F(Form1Test, FailedSizingWhileRetryingLeavesTimerTableAndRetries) {
  FailEveryPass();
  Press();
  Tick();
  host_.Package().SetText(100, u"0");
  Press();
  EXPECT_EQ(host_.MessageBoxes().size(), 1u);
  EXPECT_EQ(window_.timerSettings, std::vector<bool>{true});
  EXPECT_EQ(form_.AttemptCount(), 0);
  EXPECT_TRUE(form_.Table().IsDone(0));

  LetPassesSucceed();
  Tick();
  EXPECT_TRUE(host_.ProgramEnded());
}

TEST_F(Form1Test, FailureInsideTheTickIsCountedSilently) {
  FailEveryPass();
  Press();
  Ticks(40);
  const int passes = Reads(102);
  host_.FailCall(Operation::kShowMessage, 1, HostFailure(failure::kOutOfMemory));
  Tick();
  EXPECT_TRUE(host_.MessageBoxes().empty());
  EXPECT_EQ(form_.AttemptCount(), 41);
  EXPECT_EQ(window_.caption, u"41");
  EXPECT_EQ(host_.CallCount(Operation::kPumpMessages), 41);
  EXPECT_EQ(Reads(102), passes);
  EXPECT_EQ(window_.timerSettings, std::vector<bool>{true});
}

// The window's message loop has nothing to do with a failure, so none leaves a
// handler, not even one raised while a handler deals with another.
TEST_F(Form1Test, NoFailureLeavesAHandler) {
  host_.Package().SetText(100, u"0");
  host_.FailCall(Operation::kShowMessage, 1, HostFailure(failure::kOutOfMemory));
  EXPECT_NO_THROW(Press());

  host_.Package().SetText(100, u"2");
  FailEveryPass();
  Press();
  host_.FailCall(Operation::kPumpMessages, 1, HostFailure(failure::kOutOfMemory));
  host_.FailCall(Operation::kPumpMessages, 2, HostFailure(failure::kOutOfMemory));
  EXPECT_NO_THROW(Tick());
  EXPECT_EQ(form_.AttemptCount(), 2);  // the failed pass, and the failure after it
  EXPECT_EQ(window_.caption, u"2");
}

// Ticks and presses reach the handlers through the message loop, which also runs
// inside every box; one arriving while a handler is busy is dropped, so two
// passes never run at once.
TEST_F(Form1Test, TickArrivingWhileAPassIsOpenIsDropped) {
  DeliverOnceInside({Operation::kAskText}, [this] { Tick(); });
  FailEveryPass();
  Press();  // opens the resolver's prompts
  EXPECT_EQ(Reads(101), 1);
  EXPECT_EQ(Reads(102), 1);
  EXPECT_EQ(form_.AttemptCount(), 0);
  EXPECT_EQ(window_.caption, u"Installa Brevanti");

  DeliverOnceInside({Operation::kShowMessage}, [this] { Tick(); });
  LetPassesSucceed();
  Tick();  // opens the completion box
  EXPECT_EQ(host_.MessageBoxes().size(), 1u);
  EXPECT_EQ(Reads(102), 2);
  EXPECT_EQ(host_.CallCount(Operation::kEndProgram), 1);
  EXPECT_EQ(form_.AttemptCount(), 0);
}

TEST_F(Form1Test, TickArrivingWhileTheStopQuestionIsOpenIsDropped) {
  FailEveryPass();
  Press();
  Ticks(40);
  const int passes = Reads(102);
  DeliverOnceInside({Operation::kShowMessage}, [this] { Tick(); });
  host_.QueueButton(MessageAnswer::kNo);
  Tick();
  EXPECT_EQ(Reads(102), passes + 1);
  EXPECT_EQ(form_.AttemptCount(), 1);
  EXPECT_EQ(host_.MessageBoxes().size(), 1u);
}

TEST_F(Form1Test, PressArrivingWhileAPassIsOpenIsDropped) {
  DeliverOnceInside({Operation::kAskText}, [this] { Press(); });
  FailEveryPass();
  Press();
  EXPECT_EQ(Reads(100), 1);
  EXPECT_EQ(Reads(101), 1);
  EXPECT_EQ(window_.timerSettings, std::vector<bool>{true});
}

// What the user does while a pass runs is dropped when it ends (on Win32); a press
// that arrives after it, while the failed tick pumps, runs.
TEST_F(Form1Test, PressArrivingWhileAFailedTickPumpsRuns) {
  FailEveryPass();
  Press();
  DeliverOnceInside({Operation::kPumpMessages}, [this] { Press(); });
  Tick();
  EXPECT_EQ(Reads(100), 2);
  EXPECT_EQ(Reads(101), 2);
  EXPECT_EQ(form_.AttemptCount(), 0);
  EXPECT_EQ(window_.caption, u"1");
}

// The message loop that a failed tick runs would otherwise start the next tick
// inside this one, nesting deeper for as long as passes outlast the interval.
TEST_F(Form1Test, TickDueWhileAFailedTickPumpsIsDropped) {
  FailEveryPass();
  Press();
  DeliverOnceInside({Operation::kPumpMessages}, [this] { Tick(); });
  Tick();
  EXPECT_EQ(Reads(102), 2);
  EXPECT_EQ(form_.AttemptCount(), 1);
  Tick();
  EXPECT_EQ(form_.AttemptCount(), 2);
}

TEST_F(Form1Test, PassThatRunsOutOfMemoryIsAFailedTick) {
  FailEveryPass();
  Press();
  LetPassesSucceed();
  // Inside the completion box, the last step of the pass.
  DeliverOnceInside({Operation::kShowMessage}, [] { throw std::bad_alloc(); });
  EXPECT_NO_THROW(Tick());
  EXPECT_EQ(form_.AttemptCount(), 1);
  EXPECT_EQ(window_.caption, u"1");
  EXPECT_FALSE(host_.ProgramEnded());
  EXPECT_TRUE(window_.timerEnabled);
}

// A press before the check has ended waits for it, shown as a pass is, and only
// then reads the package.
TEST_F(Form1Test, PressWaitsForThePayloadCheckBeforeReadingThePackage) {
  check_.stillToCheck = {100, 200};
  Press();
  const std::vector<std::string> waited = {"begins", "written 100 of 300", "written 200 of 300",
                                           "ended"};
  ASSERT_GE(host_.ProgressShown().size(), waited.size());
  EXPECT_TRUE(std::equal(waited.begin(), waited.end(), host_.ProgressShown().begin()));
  EXPECT_EQ(host_.Log().front().operation, Operation::kLoadResourceText);  // after the wait
  EXPECT_TRUE(host_.ProgramEnded());
}

// A damaged payload, found while a press waits or with nobody pressing, is refused
// with its box; nothing is read, written or started, and the program ends failed.
TEST_F(Form1Test, DamagedPayloadIsRefusedPressedOrNot) {
  struct Case {
    PayloadDamage damage;
    bool pressed;
  };
  for (const Case& refusal : {Case{{u"b.txt"}, true}, Case{{u"b.txt"}, false}, Case{{}, true}}) {
    ScriptedHost host;
    RecordingMainWindow window;
    ScriptedResolver resolver(host);
    ScriptedPayloadCheck check;
    check.verdict = refusal.damage;
    Form1 form(testing::HostOf(host), window, resolver.Resolver(), check);
    refusal.pressed ? form.cmdAvviaConTimer_Click() : form.PayloadChecked();
    ASSERT_EQ(host.MessageBoxes().size(), 1u) << refusal.pressed;
    EXPECT_EQ(host.MessageBoxes()[0].prompt, RefusalText(refusal.damage));
    EXPECT_EQ(host.MessageBoxes()[0].style, MessageStyle::kError);
    EXPECT_EQ(host.MessageBoxes()[0].title, Text(u"Velbor S.r.l."));
    EXPECT_EQ(host.Operations(),
              (std::vector<Operation>{Operation::kShowMessage, Operation::kEndFailedProgram}));
    EXPECT_TRUE(window.timerSettings.empty());
  }
}

}  // namespace
}  // namespace velbor
