# Makes Brevanti.zip for package.rc: the pages under manual/ packed as a ZIP archive
# whose entries all lie under "Brevanti/", followed by one zero byte, as the real
# manual is shipped.
file(GLOB_RECURSE brevanti_manual CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/manual/*)
set(brevanti_payload ${VELBOR_PACKAGE_GENERATED_DIR}/Brevanti.zip)
add_custom_command(
  OUTPUT ${brevanti_payload}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${brevanti_payload}
          -DTRAILER=${CMAKE_CURRENT_LIST_DIR}/zero-byte.bin
          -P ${CMAKE_CURRENT_LIST_DIR}/make-archive.cmake
  WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/manual
  DEPENDS ${brevanti_manual} ${CMAKE_CURRENT_LIST_DIR}/make-archive.cmake
          ${CMAKE_CURRENT_LIST_DIR}/zero-byte.bin
  COMMENT "Packing the Brevanti manual"
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${brevanti_payload})
