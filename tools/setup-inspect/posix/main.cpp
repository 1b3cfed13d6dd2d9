#include "host/posix/openssl_sha256.h"
#include "tools/setup-inspect/run_tool.h"

int main(int argc, char** argv) {
  return velbor::RunSetupInspect(std::vector<std::filesystem::path>(argv + 1, argv + argc),
                                 velbor::OpenSslSha256());
}
