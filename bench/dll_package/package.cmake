# The payload of package.rc: 137,381,708 bytes of Wine's own 32-bit DLLs, which the
# build stores compressed.
set(wine_dlls /usr/lib/i386-linux-gnu/wine/i386-windows)
add_custom_command(OUTPUT ${VELBOR_PACKAGE_GENERATED_DIR}/Librerie.bin
  COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/make-dll-payload
          ${VELBOR_PACKAGE_GENERATED_DIR}/Librerie.bin 137381708 ${wine_dlls}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-dll-payload
  COMMENT "Gathering Wine's DLLs into Librerie.bin"
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${VELBOR_PACKAGE_GENERATED_DIR}/Librerie.bin)
