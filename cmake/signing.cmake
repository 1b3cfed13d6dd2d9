# Authenticode signing of an installer with osslsigncode, as the last step of its build.
# A certificate is given either as a PKCS#12 file or as a PEM chain and its key; the
# key's password, if any, is read from the environment variable VELBOR_SIGN_PASSWORD
# when the build runs, so that it is neither cached nor printed.
set(VELBOR_SIGN_PKCS12 "" CACHE FILEPATH
    "PKCS#12 file with the certificate chain and key that sign setup.exe")
set(VELBOR_SIGN_CERT "" CACHE FILEPATH
    "PEM file with the signing certificate and its chain (with VELBOR_SIGN_KEY)")
set(key_help "PEM private key of VELBOR_SIGN_CERT, or a PKCS#11 URI of a key on a token")
# A key file given on the command line by a relative path is made absolute against
# the folder cmake was started in, as CMake does for the two FILEPATH options above,
# rather than looked for in the build folder when the build runs. Declaring the
# untyped value FILEPATH has CMake do that; a token's URI stays as it was given.
get_property(key_type CACHE VELBOR_SIGN_KEY PROPERTY TYPE)
if(key_type STREQUAL "UNINITIALIZED" AND NOT VELBOR_SIGN_KEY MATCHES "^pkcs11:")
  set(VELBOR_SIGN_KEY "${VELBOR_SIGN_KEY}" CACHE FILEPATH "${key_help}")
  set_property(CACHE VELBOR_SIGN_KEY PROPERTY TYPE STRING)
endif()
set(VELBOR_SIGN_KEY "" CACHE STRING "${key_help}")
set(VELBOR_SIGN_URL "" CACHE STRING "The maker's web address, shown in the signature")
set(VELBOR_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 timestamp server for the signature")
set(VELBOR_SIGN_OPTIONS "" CACHE STRING
    "Further osslsigncode sign options as a ;-list (a token's -pkcs11module <module>, say)")
get_filename_component(VELBOR_SIGN_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/../scripts/sign-setup ABSOLUTE)

# velbor_sign_installer(<target> <built> <finished>)
#
# Once <target> is built, signs <built>, which building it makes, into <finished>,
# which appears only once signed (<built> again to sign in place). Add it after
# every other step of the target, and let nothing write <finished> after it: any
# change breaks the signature. Without a certificate <finished> is an unsigned copy
# of <built>, which appears whole, and the configure step says so.
function(velbor_sign_installer target built finished)
  if(VELBOR_SIGN_PKCS12 AND (VELBOR_SIGN_CERT OR VELBOR_SIGN_KEY))
    message(FATAL_ERROR "Give either VELBOR_SIGN_PKCS12 or VELBOR_SIGN_CERT with VELBOR_SIGN_KEY, not both")
  endif()
  if(VELBOR_SIGN_PKCS12)
    set(certificate -pkcs12 ${VELBOR_SIGN_PKCS12})
  elseif(VELBOR_SIGN_CERT AND VELBOR_SIGN_KEY)
    set(certificate -certs ${VELBOR_SIGN_CERT} -key ${VELBOR_SIGN_KEY})
  elseif(VELBOR_SIGN_CERT OR VELBOR_SIGN_KEY)
    message(FATAL_ERROR "VELBOR_SIGN_CERT and VELBOR_SIGN_KEY go together")
  else()
    message(STATUS "${target}.exe is unsigned: no VELBOR_SIGN_PKCS12 or VELBOR_SIGN_CERT was given")
    if(NOT built STREQUAL finished)
      add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy ${built} ${finished}.partial
        COMMAND ${CMAKE_COMMAND} -E rename ${finished}.partial ${finished}
        VERBATIM)
    endif()
    return()
  endif()
  find_program(VELBOR_OSSLSIGNCODE osslsigncode REQUIRED)

  set(options ${certificate} -n Setup)
  if(VELBOR_SIGN_URL)
    list(APPEND options -i ${VELBOR_SIGN_URL})
  endif()
  if(VELBOR_SIGN_TIMESTAMP_URL)
    list(APPEND options -ts ${VELBOR_SIGN_TIMESTAMP_URL})
  endif()
  list(APPEND options ${VELBOR_SIGN_OPTIONS})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${VELBOR_SIGN_SCRIPT} ${VELBOR_OSSLSIGNCODE} ${built} ${finished} ${options}
    COMMENT "Signing ${target}.exe"
    VERBATIM)
endfunction()
