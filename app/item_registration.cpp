#include "app/item_registration.h"

namespace velbor {
namespace {

constexpr char16_t kNetAssemblyKind[] = u"R";
constexpr char16_t kQuotedRegasm[] =
    u"\"C:\\WINDOWS\\Microsoft.NET\\Framework\\v2.0.50727\\regasm.exe\"";

Text Quoted(const Text& text) {
  Text quoted(u"\"");
  quoted += text;
  quoted += u'"';
  return quoted;
}

// The file's name with every ".dll" turned into ".tlb".
Text TypeLibraryName(Text fileName) {
  constexpr TextView kLibrary = u".dll";
  constexpr TextView kTypeLibrary = u".tlb";
  for (std::size_t found = fileName.find(kLibrary); found != Text::npos;
       found = fileName.find(kLibrary, found + kTypeLibrary.size())) {
    fileName.replace(found, kLibrary.size(), kTypeLibrary);
  }
  return fileName;
}

void RegisterComServer(Processes& processes, const Text& path) {
  Text commandLine(u"regsvr32.exe ");
  commandLine += Quoted(path);
  commandLine += u" /s";
  // The tool is named bare on its command line, but it is run from the system's
  // folder: a search for it would start in the installer's own folder, and the
  // installer runs elevated.
  Text program = processes.SystemFolder();
  program += u"\\regsvr32.exe";
  processes.StartProcess(program, commandLine, window_style::kHidden);
}

void RegisterNetAssembly(Processes& processes, const Text& path, const Text& fileName) {
  // The quoted tool path opens both command lines and names the program.
  Text typeLibrary(kQuotedRegasm);
  typeLibrary += u" /nologo ";
  typeLibrary += Quoted(path);
  typeLibrary += u" /tlb:";
  typeLibrary += TypeLibraryName(fileName);
  processes.StartProcess({}, typeLibrary, window_style::kMinimizedFocus);

  Text codebase(kQuotedRegasm);
  codebase += u" /codebase ";
  codebase += Quoted(path);
  processes.StartProcess({}, codebase, window_style::kHidden);
}

}  // namespace

void StartRegistration(Processes& processes, const Text& folder, const Text& fileName,
                       const Text& kind) {
  const Text path = folder + fileName;
  if (kind == kNetAssemblyKind) {
    RegisterNetAssembly(processes, path, fileName);
  } else {
    RegisterComServer(processes, path);
  }
}

}  // namespace velbor
