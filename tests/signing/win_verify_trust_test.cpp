// What WinVerifyTrust says of the signed setup.exe, of a copy with one byte changed,
// and of the unsigned program.
#include <windows.h>
// After windows.h, which it needs.
#include <softpub.h>
#include <wintrust.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Set once by wmain, before any test runs.
std::wstring gSigned;
std::wstring gTampered;
std::wstring gUnsigned;

// The Authenticode check of Windows itself, without any window and without the
// revocation lists, which need a network.
LONG VerifyTrust(const std::wstring& file) {
  WINTRUST_FILE_INFO info{};
  info.cbStruct = sizeof info;
  info.pcwszFilePath = file.c_str();
  WINTRUST_DATA data{};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &info;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  const HWND noWindow = static_cast<HWND>(INVALID_HANDLE_VALUE);
  const LONG result = WinVerifyTrust(noWindow, &action, &data);
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(noWindow, &action, &data);
  return result;
}

// Wine accepts a chain that ends in a root it does not know; Windows would answer
// CERT_E_UNTRUSTEDROOT for the throwaway root, which osslsigncode checks instead.
TEST(WinVerifyTrust, AcceptsTheSignedSetup) { EXPECT_EQ(VerifyTrust(gSigned), ERROR_SUCCESS); }

TEST(WinVerifyTrust, FindsTheChangedByteAndTheMissingSignature) {
  EXPECT_EQ(VerifyTrust(gTampered), TRUST_E_BAD_DIGEST);
  EXPECT_EQ(VerifyTrust(gUnsigned), TRUST_E_NOSIGNATURE);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: velbor_win_verify_trust_test SIGNED TAMPERED UNSIGNED\n");
    return 2;
  }
  gSigned = argv[1];
  gTampered = argv[2];
  gUnsigned = argv[3];
  return RUN_ALL_TESTS();
}
