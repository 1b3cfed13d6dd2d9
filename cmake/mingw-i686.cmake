# The shipped installer: a 32-bit Windows program, as it runs on every desktop.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELBOR_MINGW_TRIPLE i686-w64-mingw32)
set(VELBOR_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
