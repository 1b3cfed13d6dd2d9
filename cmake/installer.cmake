include(${CMAKE_CURRENT_LIST_DIR}/signing.cmake)
include(ExternalProject)

option(VELBOR_ALLOW_PACKAGE_FAULTS
  "Build installers whose package has faults, with a warning instead of a failure" OFF)

# setup-inspect for this machine, which checks every installer after linking, and
# store-item beside it, which compresses the items: the ones given, or else built
# from these sources with the machine's own compiler.
set(VELBOR_SETUP_INSPECT "" CACHE FILEPATH
  "setup-inspect built for this machine; built from these sources when empty")
if(VELBOR_SETUP_INSPECT)
  set(VELBOR_NATIVE_INSPECT ${VELBOR_SETUP_INSPECT})
  get_filename_component(inspect_dir ${VELBOR_SETUP_INSPECT} DIRECTORY)
  set(VELBOR_NATIVE_STORE_ITEM ${inspect_dir}/store-item)
  add_custom_target(velbor_native_inspect)
else()
  set(VELBOR_NATIVE_INSPECT_DIR ${CMAKE_BINARY_DIR}/native-inspect)
  set(VELBOR_NATIVE_INSPECT ${VELBOR_NATIVE_INSPECT_DIR}/bin/setup-inspect)
  set(VELBOR_NATIVE_STORE_ITEM ${VELBOR_NATIVE_INSPECT_DIR}/bin/store-item)
  ExternalProject_Add(velbor_native_inspect
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/setup-inspect/native
    BINARY_DIR ${VELBOR_NATIVE_INSPECT_DIR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target setup-inspect store-item
    INSTALL_COMMAND ""
    # Its sources are the installer's own: the sub-build decides what is out of date.
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${VELBOR_NATIVE_INSPECT} ${VELBOR_NATIVE_STORE_ITEM})
endif()
set(VELBOR_STORE_CACHE "" CACHE PATH
  "Folder that keeps how each item was stored, for builds that store the same items again; none when empty")
# For scripts/test, which hands these tools to the second Windows build.
set(VELBOR_NATIVE_INSPECT_PROGRAM ${VELBOR_NATIVE_INSPECT} CACHE INTERNAL "setup-inspect for this machine")

# velbor_add_installer(<target> PACKAGE <folder> [OUTPUT_DIRECTORY <dir>] [TIMER_MS <ms>] [SIGNED]
#                      [ALLOW_FAULTS])
#
# Makes <target>.exe: the installer's program carrying the package in <folder>. A
# package folder holds package.rc, a standard resource script with the string table
# and the CUSTOM resources, whose file names are found in that folder or among the
# files that the folder's optional package.cmake makes in
# VELBOR_PACKAGE_GENERATED_DIR (appending them to VELBOR_PACKAGE_GENERATED_FILES).
# TIMER_MS is the retry interval, VELBOR_TIMER_MS unless given. SIGNED signs the
# program with the maker's certificate (cmake/signing.cmake), when one is given.
# After linking, setup-inspect checks the package and writes its report beside the
# program (<target>-package.txt); a fault fails the build unless ALLOW_FAULTS or
# VELBOR_ALLOW_PACKAGE_FAULTS is given. The linker writes <target>-linked.exe; only
# the finished program, checked and then signed, takes the name <target>.exe, so
# that nobody (a parallel packaging step, say) ever copies an unchecked or
# unsigned one by that name.
function(velbor_add_installer target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "SIGNED;ALLOW_FAULTS" "PACKAGE;OUTPUT_DIRECTORY;TIMER_MS" "")
  get_filename_component(VELBOR_PACKAGE_DIR "${arg_PACKAGE}" ABSOLUTE BASE_DIR "${PROJECT_SOURCE_DIR}")
  if(NOT EXISTS "${VELBOR_PACKAGE_DIR}/package.rc")
    message(FATAL_ERROR "${target}: ${VELBOR_PACKAGE_DIR} holds no package.rc")
  endif()
  if(NOT arg_TIMER_MS)
    set(arg_TIMER_MS ${VELBOR_TIMER_MS})
  endif()

  set(VELBOR_PACKAGE_GENERATED_DIR ${CMAKE_CURRENT_BINARY_DIR}/${target}-package)
  file(MAKE_DIRECTORY ${VELBOR_PACKAGE_GENERATED_DIR})
  set(VELBOR_PACKAGE_GENERATED_FILES "")
  if(EXISTS "${VELBOR_PACKAGE_DIR}/package.cmake")
    include("${VELBOR_PACKAGE_DIR}/package.cmake")
  endif()
  add_custom_target(${target}_package_files DEPENDS ${VELBOR_PACKAGE_GENERATED_FILES})

  file(GLOB_RECURSE package_files CONFIGURE_DEPENDS "${VELBOR_PACKAGE_DIR}/*")

  # The items as the installer stores them (compressed where it pays) and the
  # SHA-256 of each as stored and of its own bytes, from the package's own files:
  # resources PAYLOADSHA256 1 and 2, and a package.rc found before the package's own.
  set(stored ${CMAKE_CURRENT_BINARY_DIR}/${target}-stored)
  set(digests ${stored}/stored-digests.bin ${stored}/content-digests.bin)
  set(cache)
  if(VELBOR_STORE_CACHE)
    set(cache --cache ${VELBOR_STORE_CACHE})
  endif()
  add_custom_command(OUTPUT ${digests} ${stored}/package.rc
    COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/store-package ${cache} ${stored}
            ${VELBOR_PACKAGE_DIR}/package.rc ${VELBOR_NATIVE_STORE_ITEM}
            ${VELBOR_PACKAGE_DIR} ${VELBOR_PACKAGE_GENERATED_DIR}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/store-package ${package_files}
            ${VELBOR_PACKAGE_GENERATED_FILES} velbor_native_inspect ${VELBOR_NATIVE_STORE_ITEM}
    COMMENT "Storing ${target}'s payload"
    VERBATIM)
  add_custom_target(${target}_digests DEPENDS ${digests})

  # One resource script of the target's own, so that its dependencies are its own:
  # the resource compiler does not report the files a script names.
  set(resources ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources.rc)
  file(CONFIGURE OUTPUT ${resources} CONTENT "#include \"${PROJECT_SOURCE_DIR}/app/win32/setup.rc\"

LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL
1 PAYLOADSHA256 \"${stored}/stored-digests.bin\"
2 PAYLOADSHA256 \"${stored}/content-digests.bin\"
")
  set(installer_sources ${PROJECT_SOURCE_DIR}/app/win32)
  set_source_files_properties(${resources} PROPERTIES OBJECT_DEPENDS
    "${installer_sources}/setup.rc;${installer_sources}/icon.rc;${installer_sources}/setup.manifest;${package_files};${VELBOR_PACKAGE_GENERATED_FILES};${digests};${stored}/package.rc")

  # The entry is compiled once for every installer (the end-to-end tests build
  # eleven), its retry interval once for each interval.
  if(NOT TARGET velbor_installer_entry)
    add_library(velbor_installer_entry OBJECT ${installer_sources}/main.cpp)
    target_link_libraries(velbor_installer_entry PRIVATE velbor_installer)
  endif()
  set(interval velbor_retry_interval_${arg_TIMER_MS})
  if(NOT TARGET ${interval})
    add_library(${interval} OBJECT ${installer_sources}/retry_interval.cpp)
    target_link_libraries(${interval} PRIVATE velbor_compile_options)
    target_include_directories(${interval} PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_definitions(${interval} PRIVATE VELBOR_TIMER_MS=${arg_TIMER_MS}u)
  endif()
  add_executable(${target} WIN32 $<TARGET_OBJECTS:velbor_installer_entry>
    $<TARGET_OBJECTS:${interval}> ${resources})
  target_link_libraries(${target} PRIVATE velbor_installer)
  target_include_directories(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:RC>:${installer_sources};${stored};${VELBOR_PACKAGE_DIR};${VELBOR_PACKAGE_GENERATED_DIR}>)
  target_link_options(${target} PRIVATE
    -municode
    # Page-aligned sections let the loader map the image, payload included, instead
    # of reading it into private memory.
    -Wl,--file-alignment,4096
    # The shipped image carries no symbols or debug sections, keeps ASLR and DEP,
    # and asks Remote Desktop servers for no compatibility shims. A 32-bit image
    # may also use addresses above 2 GB, where a large payload is mapped whole (a
    # 64-bit image always may; its linker has no such option).
    -s -Wl,--dynamicbase -Wl,--nxcompat -Wl,--tsaware
    # No link time in the header, so that the same sources give the same bytes.
    -Wl,--no-insert-timestamp
    $<$<EQUAL:${CMAKE_SIZEOF_VOID_P},4>:-Wl,--large-address-aware>)
  add_dependencies(${target} ${target}_package_files ${target}_digests)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${target}-linked)
  if(arg_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${arg_OUTPUT_DIRECTORY})
  endif()
  set(finished $<TARGET_FILE_DIR:${target}>/${target}.exe)

  set(allow OFF)
  if(arg_ALLOW_FAULTS OR VELBOR_ALLOW_PACKAGE_FAULTS)
    set(allow ON)
  endif()
  add_dependencies(${target} velbor_native_inspect)
  add_custom_command(TARGET ${target} POST_BUILD
    # An earlier build's program must not outlive a failed check or signing.
    COMMAND ${CMAKE_COMMAND} -E rm -f ${finished}
    COMMAND ${CMAKE_COMMAND} -DTOOL=${VELBOR_NATIVE_INSPECT} -DPROGRAM=$<TARGET_FILE:${target}>
            -DREPORT=$<TARGET_FILE_DIR:${target}>/${target}-package.txt -DALLOW=${allow}
            -P ${PROJECT_SOURCE_DIR}/cmake/check-package.cmake
    COMMENT "Checking the package of ${target}.exe"
    VERBATIM)

  # Last: nothing may touch the program once it is signed.
  if(arg_SIGNED)
    velbor_sign_installer(${target} $<TARGET_FILE:${target}> ${finished})
  else()
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${finished}.partial
      COMMAND ${CMAKE_COMMAND} -E rename ${finished}.partial ${finished}
      VERBATIM)
  endif()
endfunction()

# velbor_package_payload(<file name> SIZE <bytes> SEED <seed> [TEXT])
#
# For a package.cmake: makes a file of deterministic bytes for package.rc in
# VELBOR_PACKAGE_GENERATED_DIR, so that test and benchmark packages carry the same
# payload in every build and none is committed: bytes that do not compress, or with
# TEXT lines of words that do.
macro(velbor_package_payload name)
  cmake_parse_arguments(payload "TEXT" "SIZE;SEED" "" ${ARGN})
  set(payload_kind)
  if(payload_TEXT)
    set(payload_kind --text)
  endif()
  add_custom_command(OUTPUT ${VELBOR_PACKAGE_GENERATED_DIR}/${name}
    COMMAND python3 ${PROJECT_SOURCE_DIR}/scripts/make-payload
            ${VELBOR_PACKAGE_GENERATED_DIR}/${name} ${payload_SIZE} ${payload_SEED} ${payload_kind}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make-payload
    COMMENT "Generating ${name}"
    VERBATIM)
  list(APPEND VELBOR_PACKAGE_GENERATED_FILES ${VELBOR_PACKAGE_GENERATED_DIR}/${name})
endmacro()
