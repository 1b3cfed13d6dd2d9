// Target templates resolved against the registry double and the scripted host's
// disk and user.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/application_title.h"
#include "host/failure.h"
#include "paths/target_folder_resolver.h"
#include "tests/support/failures.h"
#include "tests/unit/paths_fixture.h"

namespace velbor::testing {
namespace {

constexpr char16_t kCorsentaPrompt[] =
    u"Specificare il percorso in cui è stato installato Corsenta";

class TargetFolderTest : public PathsTest {
 protected:
  TargetFolderTest() {
    PutText(kWindowsKey, "PROGRAMFILESDIR", u"C:\\Program Files");
    PutText(kWindowsKey, "COMMONFILESDIR", u"C:\\Program Files\\Common Files");
  }

  void PutMarker(const Text& folder, const Text& marker) {
    host_.Disk().MakeFolder(folder);
    host_.Disk().PutFile(folder + marker, {});
  }

  Text Resolve(const Text& targetTemplate) { return resolver_.GeneraPathDll(targetTemplate); }

  std::vector<Text> PromptDefaults() const {
    std::vector<Text> defaults;
    for (const ScriptedHost::PromptShown& prompt : host_.Prompts()) {
      defaults.push_back(prompt.defaultText);
    }
    return defaults;
  }

  // The last box shown, and the number of boxes shown in all.
  void ExpectErrorBoxes(std::size_t count, const Text& lastPrompt) const {
    ASSERT_EQ(host_.MessageBoxes().size(), count);
    EXPECT_EQ(host_.MessageBoxes().back().prompt, lastPrompt);
    EXPECT_EQ(host_.MessageBoxes().back().style, MessageStyle::kError);
    EXPECT_EQ(host_.MessageBoxes().back().title, Text(u"Attenzione"));
  }

  TargetFolderResolver resolver_{folders_, host_, host_};
};

TEST_F(TargetFolderTest, ShippedTemplateResolvesBelowTheMakersFolderWithoutAPrompt) {
  PutText(kVelborKey, "strPath", u"C:\\Gestionale\\Velbor");
  PutMarker(u"C:\\Gestionale\\Velbor\\Corsenta\\", u"Corsenta.exe");
  EXPECT_EQ(Resolve(u"<APPPATH>Corsenta\\"), u"C:\\Gestionale\\Velbor\\Corsenta\\");
  EXPECT_EQ(SubjectsOf(Operation::kFindFileName),
            std::vector<Text>{u"C:\\Gestionale\\Velbor\\Corsenta\\Corsenta.exe"});
  EXPECT_EQ(host_.Operations(), std::vector<Operation>{Operation::kFindFileName});
}

// The proven folder replaces the form's beginning and the one character after it,
// whatever that character is, and every exact repetition of that text.
TEST_F(TargetFolderTest, ProvenFolderTakesThePlaceOfTheTemplatesBeginning) {
  PutText(kVelborKey, "strPath", u"C:\\Velbor\\");
  PutMarker(u"C:\\Velbor\\Corsenta\\", u"Corsenta.exe");
  PutMarker(u"C:\\Velbor\\Tavrelio\\", u"Tavrelio.exe");
  PutMarker(u"C:\\Program Files\\Common Files\\Velbor\\", u"Trelvaso.dll");
  const struct {
    Text targetTemplate;
    Text folder;
  } cases[] = {
      {u"<APPPATH>Corsenta\\Manuali\\", u"C:\\Velbor\\Corsenta\\Manuali\\"},
      {u"<APPPATH>Corsenta", u"C:\\Velbor\\Corsenta\\"},
      {u"<APPPATH>Tavrelio\\Bin\\", u"C:\\Velbor\\Tavrelio\\Bin\\"},
      {u"<apppath>tavrelio\\bin\\", u"C:\\Velbor\\Tavrelio\\bin\\"},
      {u"<AppPath>CORSENTA\\Città\\", u"C:\\Velbor\\Corsenta\\Città\\"},
      {u"<APPPATH>Corsenta2Manuali\\", u"C:\\Velbor\\Corsenta\\Manuali\\"},
      {u"<APPPATH>CorsentaèManuali\\", u"C:\\Velbor\\Corsenta\\Manuali\\"},
      {u"<APPPATH>Corsenta\U0001F4C1Manuali\\", u"C:\\Velbor\\Corsenta\\Manuali\\"},
      {u"<APPPATH>Corsenta\\a\\<APPPATH>Corsenta\\b\\",
       u"C:\\Velbor\\Corsenta\\a\\C:\\Velbor\\Corsenta\\b\\"},
      {u"<apppath>corsenta\\a\\<APPPATH>Corsenta\\",
       u"C:\\Velbor\\Corsenta\\a\\<APPPATH>Corsenta\\"},
      {u"<COMMONPATH>Velbor\\Dati\\", u"C:\\Program Files\\Common Files\\Velbor\\Dati\\"},
      {u"<COMMONPATH>", u"C:\\Program Files\\Common Files\\Velbor\\"},
      // Only the root is tested, but the maker's name and one more go all the same.
      {u"<COMMONPATH>Tavrelio\\", u"C:\\Program Files\\Common Files\\Velbor\\o\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8FromText(c.targetTemplate));
    EXPECT_EQ(Resolve(c.targetTemplate), c.folder);
  }
  EXPECT_TRUE(host_.Prompts().empty());
  EXPECT_TRUE(host_.MessageBoxes().empty());
}

// Each first probe, with nothing there and the prompt cancelled.
TEST_F(TargetFolderTest, FirstCandidateBuildsOnTheLookupsAnswers) {
  const auto firstProbe = [this](const Text& targetTemplate) {
    const std::size_t prompts = host_.Prompts().size();
    EXPECT_EQ(Resolve(targetTemplate), u"");
    EXPECT_EQ(host_.Prompts().size(), prompts + 1);
    return SubjectsOf(Operation::kFindFileName).back();
  };
  EXPECT_EQ(firstProbe(u"<APPPATH>Corsenta\\"),
            u"C:\\Program Files\\Velbor\\Corsenta\\Corsenta.exe");
  PutText(kWindowsKey, "PROGRAMFILESDIR", u"C:\\Program Files\\");
  EXPECT_EQ(firstProbe(u"<APPPATH>Corsenta\\"),
            u"C:\\Program Files\\Velbor\\Corsenta\\Corsenta.exe");
  PutText(kVelborKey, "strPath", u"");  // present but empty: no folder
  EXPECT_EQ(firstProbe(u"<APPPATH>Tavrelio\\"),
            u"C:\\Program Files\\Velbor\\Tavrelio\\Tavrelio.exe");
  PutData(kWindowsKey, "PROGRAMFILESDIR", reg::kTypeSz, {});
  EXPECT_EQ(firstProbe(u"<APPPATH>Corsenta\\"), u"\\Velbor\\Corsenta\\Corsenta.exe");

  // The common-files folder is taken as it is, trailing "\" or none.
  PutText(kWindowsKey, "COMMONFILESDIR", u"D:\\Comuni\\");
  EXPECT_EQ(firstProbe(u"<COMMONPATH>Velbor\\"), u"D:\\Comuni\\\\Velbor\\Trelvaso.dll");
  PutData(kWindowsKey, "COMMONFILESDIR", reg::kTypeSz, {});
  EXPECT_EQ(firstProbe(u"<COMMONPATH>Velbor\\"), u"\\Velbor\\Trelvaso.dll");
  EXPECT_EQ(host_.Prompts().back().defaultText, u"\\Velbor\\");
  EXPECT_TRUE(host_.MessageBoxes().empty());
}

TEST_F(TargetFolderTest, AsksAgainHoldingTheFolderLastTypedUntilTheMarkerIsThere) {
  PutMarker(u"C:\\Però\\", u"Corsenta.exe");
  host_.Disk().MakeFolder(u"C:\\Altrove");
  PutMarker(u"C:\\Altrove\\Sotto\\", u"Corsenta.exe");  // must not be found through "*"
  for (const Text typed : {u"C:\\Altrove", u"C:\\*", u"Q:\\Corsenta\\", u"C:\\Però"}) {
    host_.QueueTypedText(typed);
  }
  EXPECT_EQ(Resolve(u"<APPPATH>Corsenta\\Manuali\\"), u"C:\\Però\\Manuali\\");
  EXPECT_EQ(PromptDefaults(), (std::vector<Text>{u"C:\\Program Files\\Velbor\\Corsenta\\",
                                                 u"C:\\Altrove\\", u"C:\\*\\", u"Q:\\Corsenta\\"}));
  EXPECT_EQ(SubjectsOf(Operation::kFindFileName).back(), u"C:\\Però\\Corsenta.exe");
  for (const ScriptedHost::PromptShown& prompt : host_.Prompts()) {
    EXPECT_EQ(prompt.prompt, kCorsentaPrompt);
    EXPECT_EQ(prompt.title, u"Setup");
  }
  EXPECT_TRUE(host_.MessageBoxes().empty());
}

TEST_F(TargetFolderTest, CancelledPromptAnswersTheEmptyTextWithoutAMessage) {
  const struct {
    Text targetTemplate;
    Text prompt;
  } cases[] = {
      {u"<APPPATH>Tavrelio\\",
       u"Specificare il percorso in cui sono presenti i file del programma Tavrelio"},
      {u"<APPPATH>Corsenta\\", kCorsentaPrompt},
      {u"<COMMONPATH>Velbor\\",
       u"Specificare il percorso in cui sono presenti i file comuni Velbor nel sistema."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8FromText(c.targetTemplate));
    EXPECT_EQ(Resolve(c.targetTemplate), u"");
    EXPECT_EQ(host_.Prompts().back().prompt, c.prompt);
    EXPECT_EQ(host_.Operations().back(), Operation::kAskText);
  }
  EXPECT_EQ(host_.Prompts().size(), 3u);
  EXPECT_TRUE(host_.MessageBoxes().empty());
}

// Only ASCII letters are taken in either case: characters that upper-case to "I"
// or "S" elsewhere do not make a known name.
TEST_F(TargetFolderTest, UnrecognisedTemplateIsRefusedWithABox) {
  std::size_t boxes = 0;
  for (const Text targetTemplate :
       {u"", u"<APP", u"Corsenta\\", u"<commonpath>velbor\\", u"<APPPATH>\\Corsenta\\",
        u"<apppath>tavrelıo\\", u"<apppath>corſenta\\"}) {
    SCOPED_TRACE(Utf8FromText(targetTemplate));
    EXPECT_EQ(Resolve(targetTemplate), u"");
    Text box = u"TargetDir non gestita! (";
    box += targetTemplate;
    box += u")";
    ExpectErrorBoxes(++boxes, box);
  }
  EXPECT_EQ(host_.CallCount(Operation::kFindFileName) + host_.CallCount(Operation::kAskText), 0);
}

TEST_F(TargetFolderTest, UnknownApplicationIsRefusedAfterBothLookups) {
  PutText(kVelborKey, "strPath", u"");
  EXPECT_EQ(Resolve(u"<APPPATH>Brevanti\\"), u"");
  ExpectErrorBoxes(1, u"TargetDir non gestita! (<APPPATH>Brevanti\\)");
  std::vector<std::string> queried;
  for (const FakeRegistry::Call& call : registry_.Log()) {
    if (call.function == FakeRegistry::Function::kQuery) queried.push_back(call.name);
  }
  EXPECT_EQ(queried,
            (std::vector<std::string>{"strPath", "strPath", "PROGRAMFILESDIR", "PROGRAMFILESDIR"}));
}

TEST_F(TargetFolderTest, FailureInALookupIsReportedAndResolutionGoesOn) {
  PutUnreadable(kVelborKey, "strPath");
  PutMarker(u"C:\\Program Files\\Velbor\\Corsenta\\", u"Corsenta.exe");
  EXPECT_EQ(Resolve(u"<APPPATH>Corsenta\\"), u"C:\\Program Files\\Velbor\\Corsenta\\");
  Text report =
      u"ModReg - RetrieveProgramFilesVelborPath:. ErrorLine:0.  5 - Invalid procedure call or "
      u"argument; ID : ";
  report += kApplicationTitle;
  ASSERT_EQ(host_.MessageBoxes().size(), 1u);
  EXPECT_EQ(host_.MessageBoxes()[0].prompt, report);
}

TEST_F(TargetFolderTest, FailureWhileResolvingEndsItWithTheErrorBox) {
  const Text box =
      u"ERRORE -> TargetDir non gestita! (<APPPATH>Corsenta\\)\r\nError 52 (Bad file name or "
      u"number) in procedure GeneraPathDll";
  std::size_t boxes = 0;
  const auto resolveFailing = [&](Operation operation, int nth) {
    host_.FailCall(operation, nth, HostFailure(failure::kBadFileName));
    EXPECT_EQ(Resolve(u"<APPPATH>Corsenta\\"), u"");
    ExpectErrorBoxes(++boxes, box);
    const std::vector<ScriptedHost::Call>& log = host_.Log();
    EXPECT_EQ(log[log.size() - 2].failure, failure::kBadFileName);  // nothing in between
  };
  resolveFailing(Operation::kFindFileName, 1);
  resolveFailing(Operation::kAskText, 1);
  host_.QueueTypedText(u"C:\\Altrove");
  resolveFailing(Operation::kFindFileName, 2);  // after a prompt; not asked again
  EXPECT_EQ(host_.Prompts().size(), 1u);
}

// A box that fails is a failure like any other; only the last box's own failure
// reaches the caller.
TEST_F(TargetFolderTest, FailingBoxesEndInTheErrorBoxOrReachTheCaller) {
  host_.FailCall(Operation::kShowMessage, 1, HostFailure(failure::kOutOfMemory));
  EXPECT_EQ(Resolve(u"x"), u"");
  ExpectErrorBoxes(1,
                   u"ERRORE -> TargetDir non gestita! (x)\r\nError 7 (Out of memory) in "
                   u"procedure GeneraPathDll");

  PutUnreadable(kWindowsKey, "COMMONFILESDIR");
  host_.FailCall(Operation::kShowMessage, 1, HostFailure(failure::kPermissionDenied));
  EXPECT_EQ(Resolve(u"<COMMONPATH>Velbor\\"), u"");
  ExpectErrorBoxes(2,
                   u"ERRORE -> TargetDir non gestita! (<COMMONPATH>Velbor\\)\r\nError 70 "
                   u"(Permission denied) in procedure GeneraPathDll");
  EXPECT_EQ(host_.CallCount(Operation::kResetMousePointer), 0);

  host_.FailCall(Operation::kFindFileName, 1, HostFailure(failure::kBadFileName));
  host_.FailCall(Operation::kShowMessage, 1, HostFailure(failure::kOutOfMemory));
  EXPECT_EQ(FailureNumberOf([&] { Resolve(u"<APPPATH>Corsenta\\"); }), failure::kOutOfMemory);
}

TEST_F(TargetFolderTest, ResolverKeepsNothingFromOneCallToTheNext) {
  const std::function<Text(const Text&)> resolve = resolver_.Resolver();
  PutMarker(u"C:\\Program Files\\Velbor\\Corsenta\\", u"Corsenta.exe");
  EXPECT_EQ(resolve(u"<APPPATH>Corsenta\\"), u"C:\\Program Files\\Velbor\\Corsenta\\");
  host_.DeleteFile(u"C:\\Program Files\\Velbor\\Corsenta\\Corsenta.exe");
  EXPECT_EQ(resolve(u"<APPPATH>Corsenta\\"), u"");
  EXPECT_EQ(host_.Prompts().size(), 1u);
}

}  // namespace
}  // namespace velbor::testing
