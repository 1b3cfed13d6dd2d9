// While a large payload is written, the window answers another program's messages
// at once, as a window that is not hung does, and the pass ends as before.
#include <algorithm>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "gtest/gtest.h"
#include "tests/e2e/installer_process.h"
#include "tests/e2e/installer_test.h"
#include "tests/win32/box_controls.h"

namespace velbor::testing {
namespace {

constexpr auto kSendInterval = std::chrono::milliseconds(50);
constexpr auto kLongestAnswer = std::chrono::milliseconds(250);

using AnsweringTest = InstallerTest;

TEST_F(AnsweringTest, AnswersEveryMessageWhileALargePayloadIsWritten) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  InstallerProcess installer(TestInstaller(L"large"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();

  std::chrono::steady_clock::duration slowest{};
  int sent = 0;
  int sentDuringTheWrite = 0;
  HWND done = nullptr;
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (done == nullptr && std::chrono::steady_clock::now() < deadline) {
    const bool writing = WriteUnderWay(corsenta);
    const auto sending = std::chrono::steady_clock::now();
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(installer.Window(), WM_NULL, 0, 0, SMTO_NORMAL,
                                  static_cast<UINT>(kPatience.count()), &answer),
              0);
    slowest = std::max(slowest, std::chrono::steady_clock::now() - sending);
    ++sent;
    if (writing) ++sentDuringTheWrite;
    std::this_thread::sleep_until(sending + kSendInterval);
    done = installer.WaitForBox(L"Velbor S.r.l.", std::chrono::milliseconds(0));
  }
  const auto slowestMs = std::chrono::duration_cast<std::chrono::milliseconds>(slowest);
  std::cout << "slowest answer: " << slowestMs.count() << " ms of " << sent << " messages, "
            << sentDuringTheWrite << " sent while the payload was written\n";
  EXPECT_LE(slowest, kLongestAnswer);
  EXPECT_GT(sentDuringTheWrite, 0) << "the write was never seen under way";

  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageText(done), L"Aggiornamento terminato!");
  ASSERT_TRUE(installer.Answer(done, IDOK));
  EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_EQ(FileNames(corsenta), (std::vector<std::wstring>{L"Corsenta.exe", L"Grande.bin"}));
}

// Neither the end of the session nor a close cuts a pass short: both are refused
// while the payload is written, the window lives on and the pass completes.
TEST_F(AnsweringTest, RefusesTheSessionsEndAndACloseWhileALargePayloadIsWritten) {
  const std::wstring corsenta = MakeInstallationWithCorsenta();
  InstallerProcess installer(TestInstaller(L"large"), Scratch());
  ASSERT_NE(installer.Window(), nullptr);
  installer.PressStart();
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!WriteUnderWay(corsenta) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(WriteUnderWay(corsenta)) << "the write was never seen under way";

  // Sent as Windows sends them: the end of the session asked, then a close.
  DWORD_PTR mayEnd = TRUE;
  for (const auto& [message, wParam] :
       {std::pair<UINT, WPARAM>{WM_QUERYENDSESSION, 0}, {WM_SYSCOMMAND, SC_CLOSE}, {WM_CLOSE, 0}}) {
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(installer.Window(), message, wParam, 0, SMTO_NORMAL,
                                  static_cast<UINT>(kPatience.count()), &answer),
              0);
    if (message == WM_QUERYENDSESSION) mayEnd = answer;
  }
  EXPECT_EQ(mayEnd, static_cast<DWORD_PTR>(FALSE));
  EXPECT_TRUE(IsWindow(installer.Window()));
  HWND done = installer.WaitForBox(L"Velbor S.r.l.");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageText(done), L"Aggiornamento terminato!");
  EXPECT_EQ(GetWindow(done, GW_OWNER), installer.Window());
  ASSERT_TRUE(installer.Answer(done, IDOK));
  EXPECT_EQ(installer.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_EQ(FileNames(corsenta), (std::vector<std::wstring>{L"Corsenta.exe", L"Grande.bin"}));
}

}  // namespace
}  // namespace velbor::testing
