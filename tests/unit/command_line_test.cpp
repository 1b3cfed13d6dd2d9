#include "app/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace velbor {
namespace {

struct RequestCase {
  std::vector<Text> arguments;
  RunMode mode;
  std::optional<Text> logPath;
  bool usageAsked;
  std::optional<Text> refused;
};

TEST(ReadCommandLineTest, ReadsEachSwitchAndRefusesWhatItDoesNotKnow) {
  using enum RunMode;
  const std::vector<RequestCase> cases = {
      {{}, kInteractive, std::nullopt, false, std::nullopt},
      {{u"/quiet"}, kQuiet, std::nullopt, false, std::nullopt},
      {{u"-Q"}, kQuiet, std::nullopt, false, std::nullopt},
      {{u"/S"}, kQuiet, std::nullopt, false, std::nullopt},
      {{u"/passive"}, kPassive, std::nullopt, false, std::nullopt},
      {{u"-SILENT"}, kPassive, std::nullopt, false, std::nullopt},
      // Unseen wins, whatever the order.
      {{u"/quiet", u"/passive"}, kQuiet, std::nullopt, false, std::nullopt},
      {{u"/passive", u"/q"}, kQuiet, std::nullopt, false, std::nullopt},
      {{u"/log", u"C:\\a b.log"}, kInteractive, u"C:\\a b.log", false, std::nullopt},
      {{u"/LOG=x.log", u"/q"}, kQuiet, u"x.log", false, std::nullopt},
      {{u"-log:C:\\x.log"}, kInteractive, u"C:\\x.log", false, std::nullopt},
      {{u"/?"}, kInteractive, std::nullopt, true, std::nullopt},
      {{u"/q", u"-Help"}, kQuiet, std::nullopt, true, std::nullopt},
      {{u"/log"}, kInteractive, std::nullopt, false, u"/log"},
      {{u"/log="}, kInteractive, std::nullopt, false, u"/log="},
      {{u"/logfile"}, kInteractive, std::nullopt, false, u"/logfile"},
      {{u"/reboot", u"/q"}, kQuiet, std::nullopt, false, u"/reboot"},
      {{u"quiet"}, kInteractive, std::nullopt, false, u"quiet"},
      {{u"/quiet", u"-"}, kQuiet, std::nullopt, false, u"-"},
      // A switch where the log's file should be: the name was forgotten, and the
      // switch is still read as one.
      {{u"/log", u"/q"}, kQuiet, std::nullopt, false, u"/log"},
      {{u"/quiet", u"/log", u"/norestart"}, kQuiet, std::nullopt, false, u"/log"},
      {{u"/log", u"-passive"}, kPassive, std::nullopt, false, u"/log"},
      {{u"/log:/quiet"}, kInteractive, std::nullopt, false, u"/log:/quiet"},
      {{u"/log=-x.log"}, kInteractive, std::nullopt, false, u"/log=-x.log"},
      {{u"/passive", u"/nonesiste"}, kPassive, std::nullopt, false, u"/nonesiste"},
      // "/q" is not read as a prefix.
      {{u"/quieter"}, kInteractive, std::nullopt, false, u"/quieter"},
  };
  for (const RequestCase& c : cases) {
    const CommandLineRequest request = ReadCommandLine(c.arguments);
    const std::string shown = c.arguments.empty() ? "(none)" : Utf8FromText(c.arguments[0]);
    EXPECT_EQ(request.mode, c.mode) << shown;
    EXPECT_EQ(request.logPath, c.logPath) << shown;
    EXPECT_EQ(request.usageAsked, c.usageAsked) << shown;
    EXPECT_EQ(request.refused, c.refused) << shown;
  }
}

TEST(SplitArgumentsTest, SplitsAsTheCRuntimeDoesWithoutTheProgramsName) {
  const std::vector<std::pair<Text, std::vector<Text>>> cases = {
      {u"setup.exe", {}},
      {u"\"C:\\Program Files\\setup.exe\"", {}},
      {u"\"C:\\a b\\setup.exe\" /q  /log \"C:\\x y.log\"", {u"/q", u"/log", u"C:\\x y.log"}},
      {u"setup.exe\t/q\t", {u"/q"}},
      {u"C:\\a\\setup.exe /log=C:\\tmp\\", {u"/log=C:\\tmp\\"}},
      {u"setup.exe \"a\\\"b\"", {u"a\"b"}},
      {u"setup.exe a\\\\\"b c\"", {u"a\\b c"}},
      {u"setup.exe \"a\"\"b\"", {u"a\"b"}},
      {u"setup.exe \"unfinished quote", {u"unfinished quote"}},
  };
  for (const auto& [line, arguments] : cases) {
    EXPECT_EQ(SplitArguments(line), arguments) << Utf8FromText(line);
  }
}

}  // namespace
}  // namespace velbor
