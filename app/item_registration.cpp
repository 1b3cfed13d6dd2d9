#include "app/item_registration.h"

#include <utility>
#include <vector>

#include "host/failure.h"

namespace velbor {
namespace {

constexpr char16_t kNetAssemblyKind[] = u"R";
constexpr char16_t kRegasmWindowsFolder[] = u"C:\\WINDOWS";
constexpr char16_t kQuotedRegasm[] =
    u"\"C:\\WINDOWS\\Microsoft.NET\\Framework\\v2.0.50727\\regasm.exe\"";

Text Quoted(const Text& text) {
  Text quoted(u"\"");
  quoted += text;
  quoted += u'"';
  return quoted;
}

ToolRun ComServerRun(Processes& processes, const Text& path) {
  Text commandLine(u"regsvr32.exe ");
  commandLine += Quoted(path);
  commandLine += u" /s";
  // The tool is named bare on its command line, but it is run from the system's
  // folder: a search for it would start in the installer's own folder, and the
  // installer runs elevated.
  Text program = processes.SystemFolder();
  program += u"\\regsvr32.exe";
  return {std::move(program), std::move(commandLine), WindowStyle::kHidden};
}

std::vector<ToolRun> NetAssemblyRuns(Processes& processes, const Text& path, const Text& fileName) {
  // Where Windows lives elsewhere, any user may create the fixed path's folder and
  // put a tool of their own there; it is then as good as missing.
  if (!EqualIgnoringAsciiCase(processes.WindowsFolder(), kRegasmWindowsFolder)) {
    throw HostFailure(failure::kFileNotFound);
  }
  // The quoted tool path opens both command lines and names the program.
  Text typeLibrary(kQuotedRegasm);
  typeLibrary += u" /nologo ";
  typeLibrary += Quoted(path);
  typeLibrary += u" /tlb:";
  typeLibrary += TypeLibraryArgument(fileName);

  Text codebase(kQuotedRegasm);
  codebase += u" /codebase ";
  codebase += Quoted(path);
  return {{Text(), std::move(typeLibrary), WindowStyle::kMinimizedFocus},
          {Text(), std::move(codebase), WindowStyle::kHidden}};
}

}  // namespace

Text TypeLibraryArgument(Text fileName) {
  constexpr TextView kLibrary = u".dll";
  constexpr TextView kTypeLibrary = u".tlb";
  for (std::size_t at = 0; at + kLibrary.size() <= fileName.size();) {
    if (EqualIgnoringAsciiCase(TextView(fileName).substr(at, kLibrary.size()), kLibrary)) {
      fileName.replace(at, kLibrary.size(), kTypeLibrary);
      at += kTypeLibrary.size();
    } else {
      ++at;
    }
  }
  return fileName.find(u' ') == Text::npos ? fileName : Quoted(fileName);
}

std::vector<ToolRun> RegistrationRuns(Processes& processes, const Text& folder,
                                      const Text& fileName, const Text& kind) {
  const Text path = folder + fileName;
  if (kind == kNetAssemblyKind) return NetAssemblyRuns(processes, path, fileName);
  return {ComServerRun(processes, path)};
}

void StartRegistration(Processes& processes, const Text& folder, const Text& fileName,
                       const Text& kind, const SharedFileHold& hold) {
  for (const ToolRun& run : RegistrationRuns(processes, folder, fileName, kind)) {
    processes.StartProcess(run.program, run.commandLine, run.windowStyle, folder, hold);
  }
}

}  // namespace velbor
