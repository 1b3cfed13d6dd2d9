#include "app/install_pass.h"

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

void InstallItem(ItemTable& table, std::int32_t item, const InstallerHost& host,
                 const TemplateResolver& resolve) {
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
  host.files.WriteWholeFile(folder + fileName, bytes);
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
    const std::int32_t lastIndex = table.LastIndex();
    for (std::int32_t item = 0; item <= lastIndex; ++item) {
      if (!table.IsDone(item)) InstallItem(table, item, host, resolve);
    }
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
