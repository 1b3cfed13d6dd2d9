#include "app/install_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/holders_text.h"
#include "tests/unit/memory_log_sink.h"

namespace velbor {
namespace {

using testing::MemoryLogSink;

TEST(LogEntryTest, DatesEachEntryToTheMillisecondAndIndentsItsFurtherLines) {
  const std::vector<std::pair<Text, std::string>> cases = {
      {u"Inizio", "2026-03-04 05:06:07.008  Inizio\r\n"},
      {u"", "2026-03-04 05:06:07.008  \r\n"},
      {u"è già", "2026-03-04 05:06:07.008  \xC3\xA8 gi\xC3\xA0\r\n"},
      {u"Uno\r\n\r\nDue\nTre\r\n",
       "2026-03-04 05:06:07.008  Uno\r\n"
       "\r\n"
       "                         Due\r\n"
       "                         Tre\r\n"
       "\r\n"},
  };
  for (const auto& [text, entry] : cases) {
    EXPECT_EQ(LogEntry({2026, 3, 4, 5, 6, 7, 8}, text), entry);
  }
  EXPECT_EQ(LogEntry({999, 12, 31, 23, 59, 59, 999}, u"x"), "0999-12-31 23:59:59.999  x\r\n");
}

TEST(InstallLogTest, WritesToItsSinkAndLosesOnlyWhatCannotBeWritten) {
  InstallLog().Write(u"nowhere");  // absent: nothing to see, nothing fails

  MemoryLogSink sink;
  const InstallLog log(sink);
  log.Write(u"uno");
  sink.failing = true;
  log.Write(u"perso");
  sink.failing = false;
  log.Write(u"due");
  EXPECT_EQ(sink.written,
            "2026-03-04 05:06:07.008  uno\r\n"
            "2026-03-04 05:06:07.008  due\r\n");
}

TEST(HoldersTextTest, NamesEachHolderWithItsProcessId) {
  const std::vector<std::pair<std::vector<FileHolder>, Text>> cases = {
      {{}, u""},
      {{{u"Corsenta.exe", 412, false}}, u"in uso da Corsenta.exe (PID 412)"},
      {{{u"Corsenta.exe", 412, false}, {u"Spooler di stampa", 88, true}, {u"", 7, false}},
       u"in uso da Corsenta.exe (PID 412), Spooler di stampa (servizio, PID 88), ? (PID 7)"},
  };
  for (const auto& [holders, text] : cases) EXPECT_EQ(HoldersText(holders), text);
}

}  // namespace
}  // namespace velbor
