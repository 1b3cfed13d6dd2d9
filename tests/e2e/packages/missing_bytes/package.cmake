# Makes the payload of the one item of package.rc that has its bytes.
set(payload ${VELBOR_PACKAGE_GENERATED_DIR}/Primo.bin)
add_custom_command(OUTPUT ${payload}
  COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/make-payload ${payload} 2000 5
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-payload
  COMMENT "Generating Primo.bin"
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${payload})
