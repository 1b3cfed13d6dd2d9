# cmake -DOUTPUT=<file> -DTRAILER=<file> -P make-archive.cmake, run in manual/:
# packs the folder Brevanti as a ZIP archive and appends the trailer's bytes.
# A fixed time stamp keeps the archive the same from one build to the next.
file(ARCHIVE_CREATE OUTPUT ${OUTPUT}.part PATHS Brevanti FORMAT zip MTIME "2026-01-01 00:00:00")
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${OUTPUT}.part ${TRAILER}
                OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
file(REMOVE ${OUTPUT}.part)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "Could not write ${OUTPUT}")
endif()
