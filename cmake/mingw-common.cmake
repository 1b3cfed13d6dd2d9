# Shared by the MinGW-w64 toolchain files: the cross compilers of VELBOR_MINGW_TRIPLE
# (posix thread model) and Wine as the emulator that runs the tests, in a prefix
# inside the build folder.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELBOR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELBOR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELBOR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELBOR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;${VELBOR_WINE_LOADER};${CMAKE_BINARY_DIR}/wineprefix")
