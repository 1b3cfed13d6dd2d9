#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "host/application_title.h"
#include "host/failure.h"
#include "host/folder_walk.h"
#include "host/text.h"
#include "tests/support/failures.h"

namespace velbor {
namespace {

TEST(DecimalTextTest, WritesWholeNumbersUpToTheExtremes) {
  EXPECT_EQ(DecimalText(0), u"0");
  EXPECT_EQ(DecimalText(40), u"40");
  EXPECT_EQ(DecimalText(-1), u"-1");
  EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::max()), u"9223372036854775807");
  EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
}

TEST(FailureTest, CarriesTheStandardDescriptionOfItsNumber) {
  const HostFailure failure(failure::kSubscriptOutOfRange);
  EXPECT_EQ(failure.Number(), 9);
  EXPECT_EQ(failure.Description(), u"Subscript out of range");
  EXPECT_EQ(failure.Source(), kApplicationTitle);
  EXPECT_EQ(failure.Info().line, 0);
  EXPECT_STREQ(failure.what(), "Error 9 (Subscript out of range)");
}

TEST(FailureTest, UnlistedNumbersHaveTheGenericDescription) {
  EXPECT_EQ(HostFailure(12345).Description(), u"Application-defined or object-defined error");
}

TEST(FailureTest, ResourceNotFoundNamesTheResource) {
  const HostFailure failure = HostFailure::ResourceNotFound(-2147483647 - 1);
  EXPECT_EQ(failure.Number(), failure::kResourceNotFound);
  EXPECT_EQ(failure.Description(), u"Resource with identifier '-2147483648' not found");
  EXPECT_EQ(failure.Source(), kApplicationTitle);
}

TEST(FailureTest, DescriptionReachesWhatAsUtf8) {
  const HostFailure failure(70, u"Accès refusé \U0001F512");
  EXPECT_STREQ(failure.what(), "Error 70 (Acc\xC3\xA8s refus\xC3\xA9 \xF0\x9F\x94\x92)");
}

// Stands in for the system's folders: says which are links, and records the
// folders opened, in order.
class ScriptedFolders final : public FolderOpener {
 public:
  explicit ScriptedFolders(std::set<Text> links) : links_(std::move(links)) {}
  bool OpensALink(const Text& path) override {
    opened.push_back(path);
    return links_.contains(path);
  }
  std::vector<Text> opened;

 private:
  std::set<Text> links_;
};

TEST(OpenFoldersOfTest, OpensEachFolderFromTheRootAndRefusesTheFirstLink) {
  const Text path = u"C:\\ProgramData\\Velbor\\Log\\setup.log";
  const std::vector<Text> every = {u"C:\\", u"C:\\ProgramData", u"C:\\ProgramData\\Velbor",
                                   u"C:\\ProgramData\\Velbor\\Log"};
  const struct {
    std::set<Text> links;
    std::int32_t failure;
    std::size_t opened;
  } cases[] = {
      {{}, 0, 4},
      {{u"C:\\ProgramData"}, 70, 2},
      {{u"C:\\ProgramData\\Velbor"}, 70, 3},
      {{u"C:\\ProgramData\\Velbor\\Log"}, 70, 4},
      // Only a folder of the path counts, not a name that begins alike.
      {{u"C:\\ProgramData\\Velbo", u"C:\\ProgramData\\Velbor\\Log\\setup.log"}, 0, 4},
  };
  for (const auto& c : cases) {
    ScriptedFolders folders(c.links);
    EXPECT_EQ(testing::FailureNumberOf([&] { OpenFoldersOf(path, folders); }), c.failure);
    EXPECT_EQ(
        folders.opened,
        std::vector<Text>(every.begin(), every.begin() + static_cast<std::ptrdiff_t>(c.opened)));
  }
  ScriptedFolders share({});
  OpenFoldersOf(u"\\\\srv\\logs\\a\\setup.log", share);
  EXPECT_EQ(share.opened, (std::vector<Text>{u"\\\\srv\\logs\\", u"\\\\srv\\logs\\a"}));
}

TEST(OpenFoldersOfTest, RefusesAPathThatIsNotPlainlyOneFileBeforeOpeningAnything) {
  for (const Text path :
       {u"setup.log", u"\\setup.log", u"C:setup.log", u"C:\\", u"C:\\Log\\",
        u"C:\\Log\\\\setup.log", u"C:\\Log\\..\\setup.log", u"C:\\.\\setup.log",
        u"C:\\setup.log:nascosto", u"\\\\?\\C:\\setup.log", u"\\\\.\\pipe\\setup",
        u"\\\\srv\\setup.log", u"\\\\srv\\\\setup.log", u"\\\\\\share\\setup.log"}) {
    ScriptedFolders folders({});
    EXPECT_EQ(testing::FailureNumberOf([&] { OpenFoldersOf(path, folders); }), 52)
        << Utf8FromText(path);
    EXPECT_TRUE(folders.opened.empty()) << Utf8FromText(path);
  }
}

TEST(WithoutLongPathPrefixTest, GivesThePathAsItIsWritten) {
  EXPECT_EQ(WithoutLongPathPrefix(u"\\\\?\\C:\\Log\\setup.log"), u"C:\\Log\\setup.log");
  EXPECT_EQ(WithoutLongPathPrefix(u"\\\\?\\UNC\\srv\\logs\\setup.log"),
            u"\\\\srv\\logs\\setup.log");
  EXPECT_EQ(WithoutLongPathPrefix(u"C:\\setup.log"), u"C:\\setup.log");
}

}  // namespace
}  // namespace velbor
