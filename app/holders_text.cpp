#include "app/holders_text.h"

namespace velbor {

Text HoldersText(const std::vector<FileHolder>& holders) {
  Text text;
  for (const FileHolder& holder : holders) {
    text += text.empty() ? u"in uso da " : u", ";
    // A nameless holder is still worth its process id.
    text += holder.name.empty() ? Text(u"?") : holder.name;
    text += holder.service ? u" (servizio, PID " : u" (PID ";
    text += DecimalText(holder.processId);
    text += u')';
  }
  return text;
}

}  // namespace velbor
