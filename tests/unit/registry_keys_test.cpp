// Key operations against the registry double: the calls they make, the handles
// they leave open and what they record, also where only the double can fail.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/registry_api.h"
#include "registry/registry_library.h"
#include "tests/contract/reg_last_error_check.h"
#include "tests/doubles/fake_registry.h"
#include "tests/unit/registry_call_log.h"

namespace velbor {
namespace {

using testing::CallLines;
using testing::FakeRegistry;
using testing::IsClear;
using testing::RecordIs;
using Function = FakeRegistry::Function;
using Lines = std::vector<std::string>;

constexpr char16_t kVelborPath[] = u"HKEY_LOCAL_MACHINE\\Software\\Velbor";

class RegistryKeysTest : public ::testing::Test {
 protected:
  RegistryKeysTest() { registry_.PutKey(reg::kLocalMachine, "Software\\Velbor"); }

  const RegLastError& Record() const { return library_.LastError(); }

  RegKey OpenVelbor(bool createMissing = false) {
    return library_.OpenKeyPath(kVelborPath, createMissing, reg::kKeyRead);
  }

  FakeRegistry registry_;
  RegistryLibrary library_{registry_};
};

TEST_F(RegistryKeysTest, WalkOpensEveryNameThenTheEmptyOneAndKeepsOnlyTheLastHandle) {
  const RegKey key = OpenVelbor();
  EXPECT_EQ(CallLines(registry_.Log()), (Lines{"open HKLM Software", "open #1 Velbor",
                                               "open #2 \"\"", "close #1", "close #2"}));
  EXPECT_EQ(key, registry_.Log()[2].result);
  for (const FakeRegistry::Call& call : registry_.Log()) {
    if (call.function != Function::kOpen) continue;
    EXPECT_EQ(call.options, 0u);
    EXPECT_EQ(call.access, reg::kKeyRead);
  }
  EXPECT_EQ(registry_.OpenHandleCount(), 1);
  EXPECT_EQ(library_.CloseKey(key), 0);
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(RegistryKeysTest, PathsThatFailBeforeTheWalkOpenNothing) {
  EXPECT_EQ(library_.OpenKeyPath(u"HKLM\\Software", true, reg::kKeyRead), -1);
  Text tooLong = kVelborPath;
  for (int piece = 4; piece <= 33; ++piece) tooLong.append(u"\\K");
  EXPECT_EQ(library_.OpenKeyPath(tooLong, true, reg::kKeyRead), -1);
  EXPECT_TRUE(RecordIs(Record(), 100, u"Il massimo numero di chiavi previste è stato superato"));
  EXPECT_EQ(library_.OpenKeyPath(u" \\ ", true, reg::kKeyRead), 0);
  EXPECT_TRUE(registry_.Log().empty());
}

// Every failure on the way closes what the walk opened, in the order it opened it.
TEST_F(RegistryKeysTest, FailedWalksLeaveNoHandleOpen) {
  struct Case {
    const char* name;
    Function failing;
    int nth;
    std::int32_t code;
    Lines calls;
  };
  const Case cases[] = {
      {"access denied",
       Function::kOpen,
       2,
       5,
       {"open HKLM Software", "open #1 Velbor = 5", "close #1"}},
      {"final open",
       Function::kOpen,
       3,
       1011,
       {"open HKLM Software", "open #1 Velbor", "open #2 \"\" = 1011", "close #1", "close #2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    registry.PutKey(reg::kLocalMachine, "Software\\Velbor");
    registry.FailCall(c.failing, c.nth, c.code);
    RegistryLibrary library(registry);
    EXPECT_EQ(library.OpenKeyPath(kVelborPath, false, reg::kKeyRead), -1);
    EXPECT_EQ(library.LastError().Number, c.code);
    EXPECT_EQ(CallLines(registry.Log()), c.calls);
    EXPECT_EQ(registry.OpenHandleCount(), 0);
  }
}

TEST_F(RegistryKeysTest, AMissingKeyFailsAfterClosingTheKeysAboveIt) {
  EXPECT_EQ(library_.OpenKeyPath(u"HKEY_LOCAL_MACHINE\\Software\\Velbor\\Missing\\Deeper", false,
                                 reg::kKeyRead),
            -1);
  EXPECT_TRUE(RecordIs(Record(), 2, u"La chiave/valore specificata/o non esiste"));
  EXPECT_EQ(CallLines(registry_.Log()), (Lines{"open HKLM Software", "open #1 Velbor",
                                               "open #2 Missing = 2", "close #1", "close #2"}));
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(RegistryKeysTest, CreatesAMissingKeyUnderItsParentOpenedAgainByPath) {
  const RegKey key =
      library_.OpenKeyPath(u"hkey_local_machine\\Software\\Velbor\\New", true, reg::kKeyRead);
  EXPECT_EQ(CallLines(registry_.Log()),
            (Lines{"open HKLM Software", "open #1 Velbor", "open #2 New = 2",
                   // CreateKey("hkey_local_machine\Software\Velbor", "New")
                   "open HKLM Software", "open #3 Velbor", "open #4 \"\"", "close #3", "close #4",
                   "create #5 New", "close #6", "close #5",
                   // the open once more, and the walk goes on
                   "open #2 New", "open #7 \"\"", "close #1", "close #2", "close #7"}));
  EXPECT_EQ(key, registry_.Log()[12].result);
  EXPECT_TRUE(registry_.HasKey(reg::kLocalMachine, "Software\\Velbor\\New"));
  EXPECT_TRUE(IsClear(Record()));

  // The parent is opened with all access, and the key is requested the same way.
  for (std::size_t call = 3; call <= 5; ++call) {
    EXPECT_EQ(registry_.Log()[call].access, reg::kKeyAllAccess);
  }
  const FakeRegistry::Call& create = registry_.Log()[8];
  EXPECT_EQ(create.reserved, 0u);
  EXPECT_EQ(create.className, "");
  EXPECT_EQ(create.options, 0u);
  EXPECT_EQ(create.access, reg::kKeyAllAccess);
  EXPECT_EQ(create.security.length, 0u);
  EXPECT_EQ(create.security.securityDescriptor, nullptr);
  EXPECT_FALSE(create.security.inheritHandle);

  EXPECT_EQ(library_.CloseKey(key), 0);
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(RegistryKeysTest, CreatesEveryMissingLevelInTurn) {
  const RegKey key =
      library_.OpenKeyPath(u"HKEY_CURRENT_USER\\Software\\A\\B\\C", true, reg::kKeyRead);
  ASSERT_NE(key, -1);
  std::vector<std::string> created;
  for (const FakeRegistry::Call& call : registry_.Log()) {
    if (call.function == Function::kCreate) created.push_back(call.name);
  }
  EXPECT_EQ(created, (std::vector<std::string>{"Software", "A", "B", "C"}));
  EXPECT_TRUE(registry_.HasKey(reg::kCurrentUser, "Software\\A\\B\\C"));
  EXPECT_EQ(library_.CloseKey(key), 0);
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(RegistryKeysTest, AFailedCreationInTheWalkRecordsMinusOne) {
  registry_.FailCall(Function::kCreate, 1, 5);
  EXPECT_EQ(library_.OpenKeyPath(u"HKEY_LOCAL_MACHINE\\Software\\Velbor\\New", true, reg::kKeyRead),
            -1);
  EXPECT_TRUE(RecordIs(Record(), -1, u"Errore non previsto"));
  EXPECT_FALSE(registry_.HasKey(reg::kLocalMachine, "Software\\Velbor\\New"));
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(RegistryKeysTest, AFailedOpenAfterTheCreationRecordsItsCode) {
  // Opens: Software, Velbor, New (missing), then three for the parent, then New again.
  registry_.FailCall(Function::kOpen, 7, 1011);
  EXPECT_EQ(library_.OpenKeyPath(u"HKEY_LOCAL_MACHINE\\Software\\Velbor\\New", true, reg::kKeyRead),
            -1);
  EXPECT_TRUE(RecordIs(Record(), 1011, u"Non è stato possibile aprire la chiave specificata"));
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

TEST_F(RegistryKeysTest, CreateKeyRecordsTheCreationsCodeAndClosesTheParent) {
  registry_.FailCall(Function::kCreate, 1, 1013);
  EXPECT_EQ(library_.CreateKey(kVelborPath, u"New"), -1);
  EXPECT_TRUE(RecordIs(Record(), 1013, u"Non è stato possibile scrivere la chiave specificata"));
  EXPECT_EQ(registry_.OpenHandleCount(), 0);
}

// The last failure recorded wins, also over an operation's own status.
TEST_F(RegistryKeysTest, AFailedCloseOfTheParentReplacesTheRecordButNotTheStatus) {
  // Closes: the two that the parent's walk does not hand on, the new key, the parent.
  registry_.FailCall(Function::kClose, 4, 1009);
  EXPECT_EQ(library_.CreateKey(kVelborPath, u"New"), 0);
  EXPECT_TRUE(RecordIs(Record(), 1009, u"Il database del registro risulta essere danneggiato"));
  EXPECT_TRUE(registry_.HasKey(reg::kLocalMachine, "Software\\Velbor\\New"));

  FakeRegistry failing;
  failing.PutKey(reg::kLocalMachine, "Software\\Velbor");
  failing.FailCall(Function::kCreate, 1, 5);
  failing.FailCall(Function::kClose, 3, 1009);
  RegistryLibrary library(failing);
  EXPECT_EQ(library.CreateKey(kVelborPath, u"New"), -1);
  EXPECT_TRUE(RecordIs(library.LastError(), 1009, SystemErrorMessage(1009)));
}

TEST_F(RegistryKeysTest, FailedClosesInsideTheWalkAreNotRecorded) {
  registry_.FailCall(Function::kClose, 1, 1009);
  registry_.FailCall(Function::kClose, 2, 1009);
  const RegKey key = OpenVelbor();
  EXPECT_NE(key, -1);
  EXPECT_TRUE(IsClear(Record()));
}

TEST_F(RegistryKeysTest, OnlyCloseKeyLeavesAnEarlierRecord) {
  library_.SetLibraryError(300);
  const RegKey key = OpenVelbor();
  EXPECT_TRUE(IsClear(Record()));

  library_.SetSystemError(87);
  EXPECT_EQ(library_.CloseKey(key), 0);
  EXPECT_TRUE(RecordIs(Record(), 87, u"Parametro non valido"));
  library_.ClearRegError();
  EXPECT_TRUE(IsClear(Record()));
}

}  // namespace
}  // namespace velbor
