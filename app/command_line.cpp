#include "app/command_line.h"

#include <array>
#include <utility>

namespace velbor {
namespace {

constexpr std::array<TextView, 5> kQuietSwitches = {u"quiet", u"q", u"qn", u"s", u"verysilent"};
constexpr std::array<TextView, 2> kPassiveSwitches = {u"passive", u"silent"};
constexpr std::array<TextView, 2> kUsageSwitches = {u"?", u"help"};
constexpr TextView kLogSwitch = u"log";
constexpr TextView kNoRestartSwitch = u"norestart";

template <std::size_t N>
bool IsOneOf(TextView name, const std::array<TextView, N>& names) {
  for (TextView known : names) {
    if (EqualIgnoringAsciiCase(name, known)) return true;
  }
  return false;
}

// The file named by "log=<file>" or "log:<file>", if `name` is that form.
std::optional<Text> AttachedLogPath(TextView name) {
  if (name.size() <= kLogSwitch.size() + 1 ||
      !EqualIgnoringAsciiCase(name.substr(0, kLogSwitch.size()), kLogSwitch)) {
    return std::nullopt;
  }
  const char16_t separator = name[kLogSwitch.size()];
  if (separator != u'=' && separator != u':') return std::nullopt;
  return Text(name.substr(kLogSwitch.size() + 1));
}

// Whether `argument` may be the log's file: not empty and not a switch.
bool CanNameLog(TextView argument) {
  return !argument.empty() && argument[0] != u'/' && argument[0] != u'-';
}

}  // namespace

CommandLineRequest ReadCommandLine(const std::vector<Text>& arguments) {
  CommandLineRequest request;
  bool quiet = false;
  bool passive = false;
  // Read to the end even past a refusal: a "/quiet" after it still keeps the
  // refusal unseen.
  const auto refuse = [&request](const Text& argument) {
    if (!request.refused) request.refused = argument;
  };
  for (std::size_t at = 0; at < arguments.size(); ++at) {
    const Text& argument = arguments[at];
    if (argument.size() < 2 || (argument[0] != u'/' && argument[0] != u'-')) {
      refuse(argument);
      continue;
    }
    const TextView name = TextView(argument).substr(1);
    if (IsOneOf(name, kQuietSwitches)) {
      quiet = true;
    } else if (IsOneOf(name, kPassiveSwitches)) {
      passive = true;
    } else if (IsOneOf(name, kUsageSwitches)) {
      request.usageAsked = true;
    } else if (EqualIgnoringAsciiCase(name, kNoRestartSwitch)) {
      // The installer never restarts the machine; deployment tools add it by habit.
    } else if (EqualIgnoringAsciiCase(name, kLogSwitch)) {
      // A switch after "/log" means the file's name was forgotten: it is read as
      // the switch it is, never taken for a file at the drive's root.
      if (at + 1 < arguments.size() && CanNameLog(arguments[at + 1])) {
        request.logPath = arguments[++at];
      } else {
        refuse(argument);
      }
    } else if (std::optional<Text> path = AttachedLogPath(name)) {
      if (CanNameLog(*path)) {
        request.logPath = std::move(path);
      } else {
        refuse(argument);
      }
    } else {
      refuse(argument);
    }
  }
  request.mode = quiet ? RunMode::kQuiet : passive ? RunMode::kPassive : RunMode::kInteractive;
  return request;
}

std::vector<Text> SplitArguments(TextView commandLine) {
  std::size_t at = 0;
  // The program's name: quotes group, nothing escapes.
  for (bool quoted = false; at < commandLine.size(); ++at) {
    const char16_t c = commandLine[at];
    if (c == u'"')
      quoted = !quoted;
    else if (!quoted && (c == u' ' || c == u'\t'))
      break;
  }
  std::vector<Text> arguments;
  for (;;) {
    while (at < commandLine.size() && (commandLine[at] == u' ' || commandLine[at] == u'\t')) ++at;
    if (at == commandLine.size()) return arguments;
    Text argument;
    bool quoted = false;
    for (; at < commandLine.size(); ++at) {
      const char16_t c = commandLine[at];
      if (c == u'\\') {
        std::size_t backslashes = 0;
        for (; at < commandLine.size() && commandLine[at] == u'\\'; ++at) ++backslashes;
        const bool beforeQuote = at < commandLine.size() && commandLine[at] == u'"';
        argument.append(beforeQuote ? backslashes / 2 : backslashes, u'\\');
        if (beforeQuote && backslashes % 2 == 1)
          argument += u'"';
        else
          --at;
        continue;
      }
      if (c == u'"') {
        // Two quotes inside quotes stand for one.
        if (quoted && at + 1 < commandLine.size() && commandLine[at + 1] == u'"') {
          argument += u'"';
          ++at;
        } else {
          quoted = !quoted;
        }
        continue;
      }
      if (!quoted && (c == u' ' || c == u'\t')) break;
      argument += c;
    }
    arguments.push_back(std::move(argument));
  }
}

Text UsageText() {
  return u"Uso: setup.exe [/quiet | /passive] [/log <file>] [/norestart]\r\n"
         u"\r\n"
         u"/quiet (/q, /qn, /s, /verysilent): installa senza finestra e senza domande.\r\n"
         u"/passive (/silent): mostra l'avanzamento, installa da solo, non chiede nulla.\r\n"
         u"/log <file> (/log=<file>, /log:<file>): aggiunge il registro "
         u"dell'installazione al file.\r\n"
         u"/norestart: accettato; il programma non riavvia mai il computer.\r\n"
         u"/? (/help): mostra questo testo, senza installare nulla (codice 1639).\r\n"
         u"\r\n"
         u"Codici di uscita: 0 installato; 1602 interrotto dall'utente; 1603 errore; "
         u"1618 un altro setup è in corso o un file è rimasto in uso, riprovare più tardi; "
         u"1622 registro non apribile; 1639 riga di comando non valida.";
}

}  // namespace velbor
