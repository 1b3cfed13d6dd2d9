# Makes the payload of package.rc: as many bytes as the shipped manual, from a fixed
# seed, so that every build carries the same bytes and none is committed.
set(bench_payload ${VELBOR_PACKAGE_GENERATED_DIR}/Brevanti.zip)
add_custom_command(OUTPUT ${bench_payload}
  COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/make-payload ${bench_payload} 137381708 137
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-payload
  COMMENT "Generating the 137 MB payload"
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${bench_payload})
