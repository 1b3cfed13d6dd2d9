# Makes Brevanti.zip for package.rc: the pages under manual/ packed as a ZIP archive
# whose entries all lie under "Brevanti/", followed by one zero byte, as the real
# manual is shipped. The same pages give the same bytes in every build (see
# make-archive).
file(GLOB_RECURSE brevanti_manual CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/manual/*)
set(brevanti_payload ${VELBOR_PACKAGE_GENERATED_DIR}/Brevanti.zip)
add_custom_command(
  OUTPUT ${brevanti_payload}
  COMMAND python3 ${CMAKE_CURRENT_LIST_DIR}/make-archive ${brevanti_payload} Brevanti
          ${CMAKE_CURRENT_LIST_DIR}/zero-byte.bin
  WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/manual
  DEPENDS ${brevanti_manual} ${CMAKE_CURRENT_LIST_DIR}/make-archive
          ${CMAKE_CURRENT_LIST_DIR}/zero-byte.bin
  COMMENT "Packing the Brevanti manual"
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${brevanti_payload})
