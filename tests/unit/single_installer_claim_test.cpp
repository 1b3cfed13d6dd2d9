#include "app/single_installer_claim.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/unit/memory_log_sink.h"

namespace velbor {
namespace {

using enum InstallerNames::Namespace;

// Answers as scripted, and records where the sign was taken.
class ScriptedNames final : public InstallerNames {
 public:
  ScriptedNames(Namespace made, bool opens, bool signFree)
      : made_(made), opens_(opens), signFree_(signFree) {}
  Namespace MakeNamespace() override { return made_; }
  bool OpenNamespace() override { return opens_; }
  bool TakeRunningSign(bool inNamespace) override {
    signTakenInNamespace = inNamespace;
    return signFree_;
  }
  std::optional<bool> signTakenInNamespace;

 private:
  Namespace made_;
  bool opens_;
  bool signFree_;
};

TEST(ClaimSingleInstallerTest, HoldsOffOnlyForASignInTheInstallersOwnNamespace) {
  const struct {
    InstallerNames::Namespace made;
    bool opens;
    bool signFree;
    bool goesOn;
    std::optional<bool> signInNamespace;
    const char* logged;
  } cases[] = {
      {kMade, false, true, true, true, ""},
      {kMade, false, false, false, true, ""},
      {kExists, true, true, true, true, ""},
      {kExists, true, false, false, true, ""},
      // Not the installers' own: the log says so and the installer does not wait.
      {kExists, false, false, true, std::nullopt, "non l'ha creato un setup"},
      {kNotMade, false, false, true, std::nullopt, "non si crea"},
      {kUnsupported, false, true, true, false, "il segno del setup in corso è globale"},
      {kUnsupported, false, false, false, false, "il segno del setup in corso è globale"},
  };
  for (const auto& c : cases) {
    testing::MemoryLogSink sink;
    ScriptedNames names(c.made, c.opens, c.signFree);
    EXPECT_EQ(ClaimSingleInstaller(names, InstallLog(sink)), c.goesOn);
    EXPECT_EQ(names.signTakenInNamespace, c.signInNamespace);
    EXPECT_TRUE(sink.Holds(c.logged)) << sink.written;
    EXPECT_EQ(sink.written.empty(), *c.logged == '\0') << sink.written;
  }
}

}  // namespace
}  // namespace velbor
