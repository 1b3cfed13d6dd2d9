# The portable libraries and setup-inspect, in the order they build on one another.
# The root project, setup-inspect's native project and the fuzz project all add
# them from here, so that a library is listed once.
add_subdirectory(${VELBOR_ROOT}/host ${CMAKE_BINARY_DIR}/host)
add_subdirectory(${VELBOR_ROOT}/package ${CMAKE_BINARY_DIR}/package)
add_subdirectory(${VELBOR_ROOT}/registry ${CMAKE_BINARY_DIR}/registry)
add_subdirectory(${VELBOR_ROOT}/paths ${CMAKE_BINARY_DIR}/paths)
add_subdirectory(${VELBOR_ROOT}/app ${CMAKE_BINARY_DIR}/app)
if(WIN32)
  enable_language(RC)
  add_subdirectory(${VELBOR_ROOT}/host/win32 ${CMAKE_BINARY_DIR}/host/win32)
else()
  add_subdirectory(${VELBOR_ROOT}/host/posix ${CMAKE_BINARY_DIR}/host/posix)
endif()
add_subdirectory(${VELBOR_ROOT}/tools/setup-inspect ${CMAKE_BINARY_DIR}/tools/setup-inspect
  ${VELBOR_INSPECT_EXCLUDE_FROM_ALL})
if(NOT WIN32)
  add_subdirectory(${VELBOR_ROOT}/tools/store-item ${CMAKE_BINARY_DIR}/tools/store-item
    ${VELBOR_INSPECT_EXCLUDE_FROM_ALL})
endif()
# The two tools side by side, where the Windows builds look for store-item beside a
# setup-inspect that they are given.
foreach(tool setup-inspect store-item)
  if(TARGET ${tool})
    set_target_properties(${tool} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
endforeach()
