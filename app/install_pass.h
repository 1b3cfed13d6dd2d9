#pragma once

#include "app/installer_host.h"
#include "app/item_folder.h"
#include "app/item_table.h"

namespace velbor {

// One attempt at installing every item of `table` that is not done yet, in index
// order. For each pending item: its descriptor is read again, its folder comes
// from the table's folder cache (`resolve` is asked once per distinct template
// until the table is sized again), its bytes replace the file of its name there,
// its registration is started if its flag is "S", and it is marked done.
//
// The first failure ends the pass silently with false; items done so far stay
// done, so the next pass resumes at the item that failed. A template that
// resolved to no folder fails its item, as the empty answer stays cached. A pass
// that gets through every item shows the completion box and answers true.
//
// In an unattended run (`host.unattended`) a failed item does not end the pass:
// every pending item is tried, registration tools are waited for, and where a
// failure no retry mends was met (anything but a file in use, whose line says
// why) the run ends with 1603 once all were tried. With `host.log`, each item's
// folder, bytes written, registration and result are logged; a file in use is
// logged with its holders, kept in the table for the stop box.
//
// Until its last item is over, the pass is shown as busy, with the bytes written
// so far against those of the items that were pending when it began.
bool InstallPass(ItemTable& table, const InstallerHost& host, const TemplateResolver& resolve);

}  // namespace velbor
