# cmake -DTOOL=<setup-inspect> -DPROGRAM=<setup.exe> -DREPORT=<report> [-DALLOW=ON] -P check-package.cmake
#
# Runs the package check on a freshly linked installer: writes the report, prints
# its summary line and faults, and on a fault removes the program and fails, so
# that a faulty package is never taken for a built one. ALLOW turns faults into
# warnings, for tests of the installer's own handling of a faulty package.
execute_process(COMMAND ${TOOL} --report ${REPORT} ${PROGRAM}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
string(STRIP "${output}${errors}" message)
if(NOT status MATCHES "^[0-9]+$")
  set(message "${TOOL} could not run: ${status}")
endif()
if(status EQUAL 0)
  message("${message}")
elseif(status EQUAL 1 AND ALLOW)
  message(WARNING "the package has faults, allowed for this build:\n${message}\nReport: ${REPORT}")
else()
  file(REMOVE ${PROGRAM})
  message(FATAL_ERROR "${message}\n${PROGRAM} was removed: its package is not known to be "
    "sound (report: ${REPORT}). -DVELBOR_ALLOW_PACKAGE_FAULTS=ON builds a package with "
    "faults anyway.")
endif()
