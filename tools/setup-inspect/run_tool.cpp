#include "tools/setup-inspect/run_tool.h"

#include <fstream>
#include <iostream>
#include <optional>

#include "package/pe_resources.h"
#include "tools/setup-inspect/mapped_file.h"
#include "tools/setup-inspect/package_findings.h"
#include "tools/setup-inspect/package_report.h"

namespace velbor {
namespace {

constexpr int kNoFault = 0;
constexpr int kFault = 1;
constexpr int kUnreadable = 2;

std::string Utf8Path(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

int Usage() {
  std::cerr << "usage: setup-inspect [--json] [--report <file>] <setup.exe>\n";
  return kUnreadable;
}

}  // namespace

int RunSetupInspect(const std::vector<std::filesystem::path>& arguments, const Sha256& sha256) {
  bool json = false;
  std::optional<std::filesystem::path> report;
  std::optional<std::filesystem::path> program;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--json") {
      json = true;
    } else if (arguments[i] == "--report" && i + 1 < arguments.size()) {
      report = arguments[++i];
    } else if (!program && !arguments[i].string().starts_with("-")) {
      program = arguments[i];
    } else {
      return Usage();
    }
  }
  if (!program) return Usage();

  try {
    const MappedFile file(*program);
    PeResources resources(file.Bytes());
    const PackageFindings inspection = InspectPackage(resources, sha256);
    const std::string text = ReportText(inspection);
    if (report) {
      std::ofstream out(*report, std::ios::binary | std::ios::trunc);
      out << text;
      if (!out.flush()) throw UnopenableFile(Utf8Path(*report) + ": cannot write the report");
      std::cout << Utf8Path(program->filename()) << ": " << SummaryLine(inspection) << "\n"
                << ReportFaults(inspection);
    } else {
      std::cout << (json ? ReportJson(inspection) : text);
    }
    // A report lost to a full disk or a closed pipe is no inspection.
    if (!std::cout.flush()) throw UnopenableFile("the report could not be written in full");
    return inspection.faults.empty() ? kNoFault : kFault;
  } catch (const UnopenableFile& failure) {
    std::cerr << "setup-inspect: " << failure.what() << "\n";
  } catch (const UnreadableProgram& failure) {
    std::cerr << "setup-inspect: " << Utf8Path(*program)
              << " is not a Windows program this tool can read: " << failure.what() << "\n";
  } catch (const std::exception& failure) {
    // Not expected from any file; said rather than ending the program unexplained.
    std::cerr << "setup-inspect: " << Utf8Path(*program)
              << " could not be inspected: " << failure.what() << "\n";
  }
  return kUnreadable;
}

}  // namespace velbor
