#include "paths/target_folder_resolver.h"

#include <array>
#include <optional>
#include <utility>

#include "host/failure.h"
#include "paths/template_text.h"

namespace velbor {
namespace {

// One recognised form of template. The proven folder replaces the template's
// first (beginning's length + 1) characters.
struct Form {
  TextView beginning;
  TextView folderName;  // below the base folder; unused by the common form
  TextView marker;
  TextView prompt;
};

// A form recognised and the folder proposed for it first.
struct Proposal {
  const Form* form;
  Text folder;
};

constexpr TextView kAppRoot = u"<APPPATH>";
constexpr TextView kCommonRoot = u"<COMMONPATH>";
constexpr char16_t kPromptTitle[] = u"Setup";
constexpr char16_t kBoxTitle[] = u"Attenzione";

constexpr std::array<Form, 2> kApplicationForms{{
    {u"<APPPATH>Tavrelio", u"Tavrelio", u"Tavrelio.exe",
     u"Specificare il percorso in cui sono presenti i file del programma Tavrelio"},
    {u"<APPPATH>Corsenta", u"Corsenta", u"Corsenta.exe",
     u"Specificare il percorso in cui è stato installato Corsenta"},
}};

// Only the root is tested, but the replaced beginning also covers the maker's name.
constexpr Form kCommonForm{
    u"<COMMONPATH>Velbor", u"", u"Trelvaso.dll",
    u"Specificare il percorso in cui sono presenti i file comuni Velbor nel sistema."};

Text UnrecognisedText(const Text& targetTemplate) {
  Text text = u"TargetDir non gestita! (";
  text += targetTemplate;
  text += u')';
  return text;
}

Text CaughtFailureText(const Text& targetTemplate, const HostFailure& caught) {
  Text text = u"ERRORE -> ";
  text += UnrecognisedText(targetTemplate);
  text += u"\r\n";
  text += ProcedureFailureText(caught, u"GeneraPathDll");
  return text;
}

// The maker's installation folder, or else its folder among the program files.
Text BaseFolder(InstallationFolders& folders, const EventLog* log) {
  const Text velbor = folders.RetrieveProgramFilesVelborPath();
  if (!velbor.empty()) {
    WriteEvent(log, u"Cartella del produttore (valore strPath del registro): " + velbor);
    return WithTrailingBackslash(velbor);
  }
  Text base = WithTrailingBackslash(folders.RetrieveProgramFilesPath());
  base += u"Velbor\\";
  WriteEvent(log, u"Cartella del produttore (predefinita, nei programmi): " + base);
  return base;
}

std::optional<Proposal> FirstProposal(const Text& targetTemplate, InstallationFolders& folders,
                                      const EventLog* log) {
  if (StartsWithIgnoringAsciiCase(targetTemplate, kAppRoot)) {
    // Worked out before the name is looked at: the lookups run, and may report,
    // also for a name that turns out to be unknown.
    const Text base = BaseFolder(folders, log);
    for (const Form& form : kApplicationForms) {
      if (!StartsWithIgnoringAsciiCase(targetTemplate, form.beginning)) continue;
      Text folder = base;
      folder += form.folderName;
      folder += u'\\';
      return Proposal{&form, std::move(folder)};
    }
    return std::nullopt;
  }
  if (targetTemplate.starts_with(kCommonRoot)) {
    // The lookup's answer as it is, even when it already ends with "\".
    Text folder = folders.RetrieveCommonPath();
    WriteEvent(log, u"Cartella dei file comuni (valore COMMONFILESDIR del registro): " + folder);
    folder += u"\\Velbor\\";
    return Proposal{&kCommonForm, std::move(folder)};
  }
  return std::nullopt;
}

// The folder that holds the form's marker, or the empty text when the user gives
// up. The field of each prompt holds the folder last proposed, and there is no
// limit on the prompts.
Text ProvenFolder(const Form& form, Text candidate, UserInterface& ui, FileSystem& files,
                  const EventLog* log) {
  for (;;) {
    Text markerPath = candidate;
    markerPath += form.marker;
    const bool found = !files.FindFileName(markerPath).empty();
    WriteEvent(log,
               Text(form.marker) + (found ? u" trovato in " : u" non trovato in ") + candidate);
    if (found) return candidate;
    Text answer = ui.AskText(Text(form.prompt), kPromptTitle, candidate);
    if (answer.empty()) return Text();
    candidate = WithTrailingBackslash(std::move(answer));
  }
}

}  // namespace

Text TargetFolderResolver::GeneraPathDll(const Text& targetTemplate) {
  try {
    std::optional<Proposal> proposal = FirstProposal(targetTemplate, folders_, log_);
    if (!proposal) {
      ui_.ShowMessage(UnrecognisedText(targetTemplate), MessageStyle::kError, Text(kBoxTitle));
      return Text();
    }
    const Form& form = *proposal->form;
    const Text folder = ProvenFolder(form, std::move(proposal->folder), ui_, files_, log_);
    if (folder.empty()) return Text();
    return ReplaceAll(targetTemplate, FirstCharacters(targetTemplate, form.beginning.size() + 1),
                      folder);
  } catch (const HostFailure& caught) {
    ui_.ShowMessage(CaughtFailureText(targetTemplate, caught), MessageStyle::kError,
                    Text(kBoxTitle));
    return Text();
  }
}

}  // namespace velbor
