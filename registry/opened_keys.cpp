#include "registry/opened_keys.h"

namespace velbor {

WalkedKeys::~WalkedKeys() {
  for (std::size_t i = 0; i < count_; ++i) api_.RegCloseKey(keys_[i]);
}

}  // namespace velbor
