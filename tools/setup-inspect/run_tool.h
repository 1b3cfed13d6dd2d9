#pragma once

#include <filesystem>
#include <vector>

#include "host/sha256.h"

namespace velbor {

// setup-inspect's command line without the program's name:
//   [--json] [--report <file>] <setup.exe>
// Prints the inspection of the package in <setup.exe> (as JSON with --json). With
// --report the text report goes to <file> instead, and only the summary line and
// the faults are printed, as a build shows them. Answers 0 when the package has
// no fault, 1 when it has one, 2 when the file is not a program this tool can
// read or the command line is wrong. Digests are made by `sha256`.
int RunSetupInspect(const std::vector<std::filesystem::path>& arguments, const Sha256& sha256);

}  // namespace velbor
