# Makes the payload of package.rc.
set(payload ${VELBOR_PACKAGE_GENERATED_DIR}/Unico.bin)
add_custom_command(OUTPUT ${payload}
  COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/make-payload ${payload} 5000 4
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-payload
  COMMENT "Generating Unico.bin"
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${payload})
