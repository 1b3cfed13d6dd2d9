# velbor_zstd: the zstd decoder. Natively Debian's libzstd-dev (which also
# compresses the payloads at build time); for Windows its decoder alone, compiled
# from Debian's own source package, which scripts/fetch-zstd-source unpacks (Debian
# has no MinGW build of it): plain C without assembly, legacy formats or threads.
# velbor_xxhash: the XXH64 of zstd's own sources, which checks each item of a
# stream of items stored together; Debian's libzstd does not export it.
if(TARGET velbor_zstd)
  return()
endif()
enable_language(C)
set(VELBOR_ZSTD_SOURCE_DIR /usr/local/src/velbor/libzstd-1.5.4 CACHE PATH
  "Debian's libzstd 1.5.4 source, unpacked by scripts/fetch-zstd-source")
file(READ ${VELBOR_ZSTD_SOURCE_DIR}/.debian-version zstd_version)
if(NOT zstd_version MATCHES "^1\\.5\\.4\\+dfsg2-5")
  message(FATAL_ERROR "${VELBOR_ZSTD_SOURCE_DIR} is not Debian's libzstd 1.5.4+dfsg2-5: "
    "run scripts/fetch-zstd-source")
endif()
set(zstd_lib ${VELBOR_ZSTD_SOURCE_DIR}/lib)
if(WIN32)
  add_library(velbor_zstd STATIC
    ${zstd_lib}/common/entropy_common.c
    ${zstd_lib}/common/error_private.c
    ${zstd_lib}/common/fse_decompress.c
    ${zstd_lib}/common/xxhash.c
    ${zstd_lib}/common/zstd_common.c
    ${zstd_lib}/decompress/huf_decompress.c
    ${zstd_lib}/decompress/zstd_ddict.c
    ${zstd_lib}/decompress/zstd_decompress.c
    ${zstd_lib}/decompress/zstd_decompress_block.c)
  target_compile_definitions(velbor_zstd PRIVATE ZSTD_DISABLE_ASM ZSTD_LEGACY_SUPPORT=0)
  target_include_directories(velbor_zstd SYSTEM PUBLIC ${zstd_lib})
  add_library(velbor_xxhash INTERFACE)
  target_link_libraries(velbor_xxhash INTERFACE velbor_zstd)
else()
  find_path(VELBOR_ZSTD_INCLUDE_DIR zstd.h REQUIRED)
  find_library(VELBOR_ZSTD_LIBRARY zstd REQUIRED)
  add_library(velbor_zstd INTERFACE)
  target_include_directories(velbor_zstd SYSTEM INTERFACE ${VELBOR_ZSTD_INCLUDE_DIR})
  target_link_libraries(velbor_zstd INTERFACE ${VELBOR_ZSTD_LIBRARY})
  add_library(velbor_xxhash STATIC ${zstd_lib}/common/xxhash.c)
  # Its own code, not ours: it keeps the flags it was written for.
  set_target_properties(velbor_xxhash PROPERTIES POSITION_INDEPENDENT_CODE ON)
endif()
# The library's own header, as <common/xxhash.h>; zstd's copy names its functions ZSTD_XXH*.
target_include_directories(velbor_xxhash SYSTEM INTERFACE ${zstd_lib})
