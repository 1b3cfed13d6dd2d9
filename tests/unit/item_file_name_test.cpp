#include "app/item_file_name.h"

#include <gtest/gtest.h>

namespace velbor {
namespace {

TEST(ItemFileName, KeepsPlainNamesAndSubfoldersBelowTheFolder) {
  for (const TextView name : {u"Brevanti.zip", u"Manuali/guida.pdf", u"a\\b\\c.dll", u".profile",
                              u"Leggimi è.txt", u"nul1.txt", u"COM10", u"console.log"}) {
    EXPECT_TRUE(IsConfinedFileName(name)) << Utf8FromText(name);
  }
}

TEST(ItemFileName, RefusesNamesThatLeaveTheFolderOrNameAnotherFile) {
  for (const TextView name : {u"",
                              u"..\\x.dll",
                              u"a/../../x",
                              u"./x",
                              u"\\x",
                              u"/x",
                              u"\\\\server\\share\\x",
                              u"C:\\x",
                              u"C:x",
                              u"x.dll:stream",
                              u"a//b",
                              u"a/",
                              u"NUL",
                              u"nul.txt",
                              u"Com1",
                              u"LPT9.log",
                              u"NUL .txt",
                              u"com1 .log",
                              u"Con  ..dll",
                              u"sub/CON",
                              u"COM\u00B9",
                              u"x.",
                              u"x ",
                              u"dir./x",
                              u"x*",
                              u"x?",
                              u"a\tb"}) {
    EXPECT_FALSE(IsConfinedFileName(name)) << Utf8FromText(name);
  }
}

}  // namespace
}  // namespace velbor
