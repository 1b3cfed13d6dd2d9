# The same program as a 64-bit build: tested beside the shipped 32-bit one, and
# benchmarked where 32-bit programs would run only under an emulator.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELBOR_MINGW_TRIPLE x86_64-w64-mingw32)
set(VELBOR_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
