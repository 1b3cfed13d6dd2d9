#include "registry/key_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "host/registry_api.h"
#include "host/text.h"

namespace velbor {
namespace {

using Parts = std::vector<Text>;

// Blanks around pieces and empty pieces are dropped; nothing else is.
TEST(SplitKeyPathTest, TrimsOnlySpacesAndKeepsThemInsideNames) {
  EXPECT_EQ(SplitKeyPath(u"\\ A\\ two words \\"), (Parts{u"A", u"two words"}));
  EXPECT_EQ(SplitKeyPath(u"\tA\u00A0\\B/C"), (Parts{u"\tA\u00A0", u"B/C"}));
}

TEST(PredefinedRootTest, KnowsTheSevenFullNamesInAnyLetterCase) {
  EXPECT_EQ(PredefinedRoot(u"HKEY_CLASSES_ROOT"), reg::kClassesRoot);
  EXPECT_EQ(PredefinedRoot(u"hkey_current_user"), reg::kCurrentUser);
  EXPECT_EQ(PredefinedRoot(u"Hkey_Local_Machine"), reg::kLocalMachine);
  EXPECT_EQ(PredefinedRoot(u"HKEY_USERS"), reg::kUsers);
  EXPECT_EQ(PredefinedRoot(u"HKEY_PERFORMANCE_DATA"), reg::kPerformanceData);
  EXPECT_EQ(PredefinedRoot(u"HKEY_CURRENT_CONFIG"), reg::kCurrentConfig);
  EXPECT_EQ(PredefinedRoot(u"HKEY_DYN_DATA"), reg::kDynData);
  for (const TextView name :
       {u"HKLM", u"HKEY_LOCAL", u"HKEY_LOCAL_MACHINE_", u"", u"HKEY_USERSX"}) {
    EXPECT_EQ(PredefinedRoot(name), std::nullopt) << Utf8FromText(name);
  }
}

}  // namespace
}  // namespace velbor
