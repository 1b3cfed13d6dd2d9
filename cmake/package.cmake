# The package that setup.exe carries: the folder VELBOR_PACKAGE holds package.rc, a
# standard resource script with the string table and the CUSTOM resources, whose
# file names are found in that folder or among the files that the folder's optional
# package.cmake makes in VELBOR_PACKAGE_GENERATED_DIR.
get_filename_component(VELBOR_PACKAGE_DIR "${VELBOR_PACKAGE}" ABSOLUTE BASE_DIR "${PROJECT_SOURCE_DIR}")
if(NOT EXISTS "${VELBOR_PACKAGE_DIR}/package.rc")
  message(FATAL_ERROR "VELBOR_PACKAGE: ${VELBOR_PACKAGE_DIR} holds no package.rc")
endif()
message(STATUS "Package: ${VELBOR_PACKAGE_DIR}")

set(VELBOR_PACKAGE_GENERATED_DIR ${CMAKE_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${VELBOR_PACKAGE_GENERATED_DIR})
set(VELBOR_PACKAGE_GENERATED_FILES "")
if(EXISTS "${VELBOR_PACKAGE_DIR}/package.cmake")
  include("${VELBOR_PACKAGE_DIR}/package.cmake")
endif()

# The resource compiler does not report the files a script names, so setup.exe
# depends on everything in the package folder and on every generated file.
file(GLOB_RECURSE VELBOR_PACKAGE_FILES CONFIGURE_DEPENDS "${VELBOR_PACKAGE_DIR}/*")
list(APPEND VELBOR_PACKAGE_FILES ${VELBOR_PACKAGE_GENERATED_FILES})

# Makes the generated files; setup.exe is built after it.
add_custom_target(velbor_package_files DEPENDS ${VELBOR_PACKAGE_GENERATED_FILES})
