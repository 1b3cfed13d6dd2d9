#include "app/install_pass.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "app/exit_codes.h"
#include "app/failure_class.h"
#include "app/holders_text.h"
#include "app/item_bytes.h"
#include "app/item_descriptor.h"
#include "app/item_file_name.h"
#include "app/item_registration.h"
#include "host/event_log.h"
#include "host/failure.h"
#include "host/file_hold.h"
#include "package/package_format.h"

namespace velbor {
namespace {

// Shows the pass as under way for as long as it lives, with how many of the bytes
// of the items left at its start are written.
class PassDisplay {
 public:
  PassDisplay(const ItemTable& table, const InstallerHost& host) : progress_(host.progress) {
    for (std::int32_t item = 0; item <= table.LastIndex(); ++item) {
      if (!table.IsDone(item)) {
        total_ += ItemContentSize(host.package, ItemResourceNumber(item));
      }
    }
    progress_.PassBegins();
    Show(0);
  }
  ~PassDisplay() { progress_.PassEnded(); }
  PassDisplay(const PassDisplay&) = delete;
  PassDisplay& operator=(const PassDisplay&) = delete;

  // Told how far the write of the next item has come.
  WriteProgress ItemProgress() {
    return [this](std::uint64_t written) { Show(done_ + written); };
  }
  void ItemWritten(std::uint64_t size) {
    done_ += size;
    Show(done_);
  }

 private:
  void Show(std::uint64_t written) { progress_.ShowWritten(std::min(written, total_), total_); }

  PassProgress& progress_;
  std::uint64_t total_ = 0;
  std::uint64_t done_ = 0;
};

// What the log and the unattended run learn of one item's attempt.
struct ItemAttempt {
  Text folder;
  Text path;
  // Writing the file or taking its hold: a failure then may be a file in use.
  bool writing = false;
};

Text ItemLabel(const ItemTable& table, std::int32_t item) {
  Text label(u"Elemento ");
  label += DecimalText(ItemResourceNumber(item));
  if (!table.ItemFile(item).empty()) {
    label += u' ';
    label += table.ItemFile(item);
  }
  label += u": ";
  return label;
}

// Starts the tools, or in an unattended run waits for each in turn: one that fails
// or runs too long fails the run, though the file stays written.
void Register(const InstallerHost& host, const Text& folder, const Text& fileName, const Text& kind,
              const SharedFileHold& hold) {
  constexpr std::chrono::minutes kToolPatience{10};
  for (const ToolRun& run : RegistrationRuns(host.processes, folder, fileName, kind)) {
    Text line(u"Registrazione: ");
    line += run.commandLine;
    if (host.unattended == nullptr) {
      host.processes.StartProcess(run.program, run.commandLine, run.windowStyle, folder, hold);
      WriteEvent(host.log, line + u" (avviata, non attesa)");
      continue;
    }
    const std::optional<std::uint32_t> exitCode = host.processes.StartAndAwait(
        run.program, run.commandLine, run.windowStyle, folder, hold, kToolPatience);
    if (exitCode.has_value()) {
      line += u" (codice di uscita ";
      line += DecimalText(*exitCode);
      line += u')';
    } else {
      line += u" (ancora in corso dopo 10 minuti)";
    }
    WriteEvent(host.log, line);
    if (exitCode != 0u) host.unattended->FailForGood();
  }
}

void InstallItem(ItemTable& table, std::int32_t item, const InstallerHost& host,
                 const TemplateResolver& resolve, PassDisplay& display, ItemAttempt& attempt) {
  ReadItemDescriptor(host.package, table, item);
  const Text folder = CachedItemFolder(table, item, resolve);
  attempt.folder = folder;
  WriteEvent(host.log, ItemLabel(table, item) + u"cartella " +
                           (folder.empty() ? Text(u"non trovata") : folder));
  // No folder means the user cancelled or the template is unknown; the bare name
  // would land in whatever the current folder happens to be.
  if (folder.empty()) throw HostFailure(failure::kPathNotFound);
  const Text fileName = table.ItemFile(item);
  // An elevated write must land in the proven folder, not wherever the name points.
  if (!IsConfinedFileName(fileName)) throw HostFailure(failure::kBadFileName);
  const StoredBytes bytes = LoadItemBytes(host.package, ItemResourceNumber(item));
  const std::uint64_t size = ItemContentSize(host.package, ItemResourceNumber(item));
  attempt.path = folder + fileName;
  attempt.writing = true;
  // Writing replaces the old file in one step, so nothing is deleted first: a
  // failed write leaves the old file as it was.
  host.files.WriteWholeFile(attempt.path, bytes, display.ItemProgress());
  display.ItemWritten(size);
  WriteEvent(host.log, ItemLabel(table, item) + DecimalText(static_cast<std::int64_t>(size)) +
                           u" byte scritti in " + attempt.path);
  SharedFileHold hold;
  if (table.ItemState(item, 0) == kRegisterFlag) {
    // Held from here until the tools have ended, so that nobody who may write in
    // the folder swaps in a file of their own for the elevated tool to load.
    hold = host.files.HoldFile(attempt.path, bytes);
  }
  attempt.writing = false;
  if (hold != nullptr) Register(host, folder, fileName, table.ItemState(item, 1), hold);
  table.MarkDone(item);
  table.SetHolders(item, Text());
}

void ItemFailed(ItemTable& table, std::int32_t item, const InstallerHost& host,
                const ItemAttempt& attempt, const HostFailure& failure) {
  Text line = ItemLabel(table, item);
  line += u"errore ";
  line += DecimalText(failure.Number());
  line += u" (";
  line += failure.Description();
  line += u')';
  if (!attempt.path.empty()) {
    line += u" su ";
    line += attempt.path;
  }
  // A file in use: the system may say by whom, for the log and the stop box.
  bool held = false;
  if (attempt.writing && failure.Number() == failure::kPermissionDenied &&
      host.holders != nullptr) {
    Text holders = HoldersText(host.holders->HoldersOf(attempt.path));
    held = !holders.empty();
    if (held) {
      line += u", ";
      line += holders;
    }
    table.SetHolders(item, std::move(holders));
  }
  // Unattended, only a file in use is retried; at the desktop every failure is,
  // on the timer.
  const FailureClass verdict = ClassOf(failure, held, attempt.folder);
  if (host.unattended != nullptr && !verdict.mayPass) {
    line += u"; ";
    line += verdict.whyNever;
    line += u": l'elemento non viene ritentato";
    host.unattended->FailForGood();
  }
  WriteEvent(host.log, line);
}

// One item's attempt, told to the log; false when it failed.
bool AttemptItem(ItemTable& table, std::int32_t item, const InstallerHost& host,
                 const TemplateResolver& resolve, PassDisplay& display) {
  ItemAttempt attempt;
  try {
    InstallItem(table, item, host, resolve, display, attempt);
    WriteEvent(host.log, ItemLabel(table, item) + u"installato");
    return true;
  } catch (const HostFailure& failure) {
    ItemFailed(table, item, host, attempt, failure);
  } catch (const std::bad_alloc&) {
    ItemFailed(table, item, host, attempt, HostFailure(failure::kOutOfMemory));
  }
  return false;
}

}  // namespace

bool InstallPass(ItemTable& table, const InstallerHost& host, const TemplateResolver& resolve) {
  try {
    bool everyItemDone = true;
    {
      PassDisplay display(table, host);
      // Items stored together are decoded once, forward, through the pass's items.
      const std::unique_ptr<PassWrites> writes = host.files.BeginPass();
      const std::int32_t lastIndex = table.LastIndex();
      for (std::int32_t item = 0; item <= lastIndex; ++item) {
        if (table.IsDone(item) || AttemptItem(table, item, host, resolve, display)) continue;
        everyItemDone = false;
        // At the desktop the first failure ends the pass; unattended, the other
        // items are still installed.
        if (host.unattended == nullptr) break;
      }
    }
    // Unattended, a run with nothing left that a retry could mend ends here.
    if (host.unattended != nullptr && host.unattended->FailedForGood()) {
      host.unattended->End(kExitFailed);
      return false;
    }
    if (!everyItemDone) return false;
    // The pass's work is over, and shown so, before the box waits for the user.
    host.ui.ShowMessage(u"Aggiornamento terminato!", MessageStyle::kInformation,
                        Text(u"Velbor S.r.l."));
    return true;
  } catch (...) {
    // Any failure, running out of memory included, is a failed pass: the callers
    // retry, and what went wrong is not shown to anyone.
    return false;
  }
}

}  // namespace velbor
