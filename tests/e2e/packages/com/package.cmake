# The COM server built by the tests, carried under the name that package.rc gives.
set(com_server ${VELBOR_PACKAGE_GENERATED_DIR}/VelborTraccia.dll)
add_custom_command(OUTPUT ${com_server}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velbor_e2e_com_server> ${com_server}
  DEPENDS velbor_e2e_com_server
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${com_server})
