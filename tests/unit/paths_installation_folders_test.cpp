// The installation folder lookups against the registry double, and their error box.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "host/application_title.h"
#include "host/failure.h"
#include "paths/error_report.h"
#include "paths/installation_folders.h"
#include "tests/unit/paths_fixture.h"

namespace velbor::testing {
namespace {

struct Lookup {
  const char* name;
  Text (InstallationFolders::*retrieve)();
  const char* key;
  const char* value;
  Text reportPrefix;
};

class LookupTest : public PathsTest, public ::testing::WithParamInterface<Lookup> {
 protected:
  Text Retrieve() { return (folders_.*GetParam().retrieve)(); }
  void PutFolder(const Text& folder) { PutText(GetParam().key, GetParam().value, folder); }
};

TEST_P(LookupTest, AnswersTheStoredTextUnchanged) {
  PutFolder(u"D:\\Società\\Velbor");
  EXPECT_EQ(Retrieve(), u"D:\\Società\\Velbor");
  PutFolder(u"D:\\Società\\Velbor\\");
  EXPECT_EQ(Retrieve(), u"D:\\Società\\Velbor\\");
  // Asked for as text: a number comes back in its text rendering.
  PutData(GetParam().key, GetParam().value, reg::kTypeDword, {0x2A, 0, 0, 0});
  EXPECT_EQ(Retrieve(), u"0000002A");
  EXPECT_TRUE(host_.Log().empty());
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_P(LookupTest, AnswersTheEmptyTextSilentlyWhenTheValueCannotBeRead) {
  EXPECT_EQ(Retrieve(), u"");  // no key
  registry_.PutKey(reg::kLocalMachine, GetParam().key);
  EXPECT_EQ(Retrieve(), u"");  // no value
  PutData(GetParam().key, GetParam().value, reg::kTypeSz, {});
  EXPECT_EQ(Retrieve(), u"");  // a value without data
  PutFolder(u"D:\\Velbor");
  registry_.FailCall(FakeRegistry::Function::kQuery, 1, reg::kAccessDenied);
  EXPECT_EQ(Retrieve(), u"");
  EXPECT_TRUE(host_.Log().empty());
}

TEST_P(LookupTest, ReportsAFailureCaughtWhileReadingThenAnswersTheEmptyText) {
  PutUnreadable(GetParam().key, GetParam().value);
  EXPECT_EQ(Retrieve(), u"");
  ASSERT_EQ(host_.MessageBoxes().size(), 1u);
  Text expected = GetParam().reportPrefix;
  expected += u". ErrorLine:0.  5 - Invalid procedure call or argument; ID : ";
  expected += kApplicationTitle;
  EXPECT_EQ(host_.MessageBoxes()[0].prompt, expected);
  EXPECT_EQ(host_.MessageBoxes()[0].style, MessageStyle::kError);
  EXPECT_EQ(host_.MessageBoxes()[0].title, Text(u""));
  EXPECT_EQ(host_.Operations(),
            (std::vector<Operation>{Operation::kShowMessage, Operation::kResetMousePointer}));
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachLookup, LookupTest,
    ::testing::Values(Lookup{"CommonFiles", &InstallationFolders::RetrieveCommonPath, kWindowsKey,
                             "COMMONFILESDIR", u"ModReg - RetrieveCommonPath:"},
                      Lookup{"ProgramFiles", &InstallationFolders::RetrieveProgramFilesPath,
                             kWindowsKey, "PROGRAMFILESDIR", u"ModReg - RetrieveProgramFilesPath:"},
                      Lookup{"Velbor", &InstallationFolders::RetrieveProgramFilesVelborPath,
                             kVelborKey, "strPath", u"ModReg - RetrieveProgramFilesVelborPath:"}),
    [](const ::testing::TestParamInfo<Lookup>& row) { return row.param.name; });

TEST(ShowErrorReportTest, ShowsTheFailureAfterThePrefixThenResetsThePointer) {
  ScriptedHost host;
  ShowErrorReport(host, {53, u"File not found", u"GestioneRegistro", 0});
  ShowErrorReport(host, {-2147024891, u"Accesso negato", u"Brevanti Setup", 0},
                  u"ModReg - RetrieveCommonPath:");
  ASSERT_EQ(host.MessageBoxes().size(), 2u);
  EXPECT_EQ(host.MessageBoxes()[0].prompt,
            u". ErrorLine:0.  53 - File not found; ID : GestioneRegistro");
  EXPECT_EQ(host.MessageBoxes()[1].prompt,
            u"ModReg - RetrieveCommonPath:. ErrorLine:0.  -2147024891 - Accesso negato; ID : "
            u"Brevanti Setup");
  EXPECT_EQ(host.CallCount(Operation::kResetMousePointer), 2);
}

}  // namespace
}  // namespace velbor::testing
