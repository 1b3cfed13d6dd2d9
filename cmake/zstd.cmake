# velbor_zstd: the zstd decoder. Natively Debian's libzstd-dev (which also
# compresses the payloads at build time); for Windows its decoder alone, compiled
# from Debian's own source package, which scripts/fetch-zstd-source unpacks (Debian
# has no MinGW build of it): plain C without assembly, legacy formats or threads.
if(TARGET velbor_zstd)
  return()
endif()
if(WIN32)
  enable_language(C)
  set(VELBOR_ZSTD_SOURCE_DIR /usr/local/src/velbor/libzstd-1.5.4 CACHE PATH
    "Debian's libzstd 1.5.4 source, unpacked by scripts/fetch-zstd-source")
  file(READ ${VELBOR_ZSTD_SOURCE_DIR}/.debian-version zstd_version)
  if(NOT zstd_version MATCHES "^1\\.5\\.4\\+dfsg2-5")
    message(FATAL_ERROR "${VELBOR_ZSTD_SOURCE_DIR} is not Debian's libzstd 1.5.4+dfsg2-5: "
      "run scripts/fetch-zstd-source")
  endif()
  set(zstd_lib ${VELBOR_ZSTD_SOURCE_DIR}/lib)
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
else()
  find_path(VELBOR_ZSTD_INCLUDE_DIR zstd.h REQUIRED)
  find_library(VELBOR_ZSTD_LIBRARY zstd REQUIRED)
  add_library(velbor_zstd INTERFACE)
  target_include_directories(velbor_zstd SYSTEM INTERFACE ${VELBOR_ZSTD_INCLUDE_DIR})
  target_link_libraries(velbor_zstd INTERFACE ${VELBOR_ZSTD_LIBRARY})
endif()
