# Makes the assembly's stand-in bytes for package.rc.
set(assembly ${VELBOR_PACKAGE_GENERATED_DIR}/Velbor.Interop.dll)
add_custom_command(OUTPUT ${assembly}
  COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/make-payload ${assembly} 4096 3
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-payload
  COMMENT "Generating Velbor.Interop.dll"
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${assembly})
