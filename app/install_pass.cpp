#include "app/install_pass.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "app/item_descriptor.h"
#include "app/item_file_name.h"
#include "app/item_registration.h"
#include "app/package_format.h"
#include "host/failure.h"
#include "host/file_hold.h"

namespace velbor {
namespace {

// Shows the pass as under way for as long as it lives, with how many of the bytes
// of the items left at its start are written.
class PassDisplay {
 public:
  PassDisplay(const ItemTable& table, const InstallerHost& host) : progress_(host.progress) {
    for (std::int32_t item = 0; item <= table.LastIndex(); ++item) {
      if (!table.IsDone(item)) {
        total_ += host.package.ResourceSize(ItemResourceNumber(item), kItemBytesType);
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

void InstallItem(ItemTable& table, std::int32_t item, const InstallerHost& host,
                 const TemplateResolver& resolve, PassDisplay& display) {
  ReadItemDescriptor(host.package, table, item);
  const Text folder = CachedItemFolder(table, item, resolve);
  // No folder means the user cancelled or the template is unknown; the bare name
  // would land in whatever the current folder happens to be.
  if (folder.empty()) throw HostFailure(failure::kPathNotFound);
  const Text fileName = table.ItemFile(item);
  // An elevated write must land in the proven folder, not wherever the name points.
  if (!IsConfinedFileName(fileName)) throw HostFailure(failure::kBadFileName);
  const ByteView bytes = host.package.LoadResourceBytes(ItemResourceNumber(item), kItemBytesType);
  // Writing replaces the old file in one step, so nothing is deleted first: a
  // failed write leaves the old file as it was.
  host.files.WriteWholeFile(folder + fileName, bytes, display.ItemProgress());
  display.ItemWritten(bytes.size());
  if (table.ItemState(item, 0) == kRegisterFlag) {
    // Held from here until the tools have ended, so that nobody who may write in
    // the folder swaps in a file of their own for the elevated tool to load.
    SharedFileHold hold = host.files.HoldFile(folder + fileName, bytes);
    StartRegistration(host.processes, folder, fileName, table.ItemState(item, 1), std::move(hold));
  }
  table.MarkDone(item);
}

}  // namespace

bool InstallPass(ItemTable& table, const InstallerHost& host, const TemplateResolver& resolve) {
  try {
    {
      PassDisplay display(table, host);
      const std::int32_t lastIndex = table.LastIndex();
      for (std::int32_t item = 0; item <= lastIndex; ++item) {
        if (!table.IsDone(item)) InstallItem(table, item, host, resolve, display);
      }
    }
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
