#pragma once

#include <optional>
#include <vector>

#include "host/text.h"

namespace velbor {

// How the installer meets its user: at the desktop, showing its window but asking
// nothing, or wholly unseen.
enum class RunMode { kInteractive, kPassive, kQuiet };

// What the command line asks for. Switches begin with "/" or "-" and are read in
// any letter case.
struct CommandLineRequest {
  RunMode mode = RunMode::kInteractive;
  std::optional<Text> logPath;
  bool usageAsked = false;
  // The first argument not understood; the run is refused then.
  std::optional<Text> refused;
};

// Reads the arguments that follow the program's name. "/quiet" wins over
// "/passive" whatever their order, so that a run meant to be unseen never shows.
CommandLineRequest ReadCommandLine(const std::vector<Text>& arguments);

// The arguments of a Windows command line, as the C runtime splits them: blanks
// part them, double quotes group, backslashes escape a quote only. The program's
// own name, the first word, is left out.
std::vector<Text> SplitArguments(TextView commandLine);

// The usage box's text.
Text UsageText();

}  // namespace velbor
