# The payload of package.rc: 191 of Wine's own 32-bit DLLs, 137,381,708 bytes in
# all, one of each family (scripts/make-dll-package), which the build stores
# together.
set(wine_dlls /usr/lib/i386-linux-gnu/wine/i386-windows)
set(dll_items)
foreach(index RANGE 190)
  string(LENGTH "${index}" digits)
  set(name ${index})
  if(digits EQUAL 1)
    set(name 00${index})
  elseif(digits EQUAL 2)
    set(name 0${index})
  endif()
  list(APPEND dll_items ${VELBOR_PACKAGE_GENERATED_DIR}/L${name}.dll)
endforeach()
add_custom_command(OUTPUT ${dll_items}
  COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/make-dll-package
          ${VELBOR_PACKAGE_GENERATED_DIR} 191 137381708 ${wine_dlls}
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-dll-package
  COMMENT "Gathering 191 of Wine's DLLs"
  VERBATIM)
list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${dll_items})
