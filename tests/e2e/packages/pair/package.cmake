# Makes the two payloads of package.rc: every byte value, then bytes that no text
# conversion along the way would leave alone.
foreach(item "Primo.bin;70000;1" "Secondo.bin;3000;2")
  list(GET item 0 name)
  list(GET item 1 size)
  list(GET item 2 seed)
  add_custom_command(OUTPUT ${VELBOR_PACKAGE_GENERATED_DIR}/${name}
    COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/make-payload
            ${VELBOR_PACKAGE_GENERATED_DIR}/${name} ${size} ${seed}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-payload
    COMMENT "Generating ${name}"
    VERBATIM)
  list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${VELBOR_PACKAGE_GENERATED_DIR}/${name})
endforeach()
