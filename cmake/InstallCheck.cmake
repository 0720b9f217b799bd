# Installs the build into STAGE and runs the installed orvane-cli on PROJECT:
# the installed program must find its data files through its own folder.
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${STAGE}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
set(expected bin/orvane-cli lib/orvane-dnv/data/DNVmat.dat share/man/man1/orvane-cli.1.gz
             share/doc/orvane-dnv/copyright share/doc/orvane-dnv/changelog.gz)
if(WITH_UI)
  list(APPEND expected share/applications/orvane-dnv.desktop share/mime/packages/orvane-dnv.xml
       "lib/orvane-dnv/Documentation/Orvane DNV Theory Manual.pdf" lib/orvane-dnv/help/orvane.qhc)
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${STAGE}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
execute_process(COMMAND ${STAGE}/bin/orvane-cli check ${PROJECT}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
# 0: every check within its allowable value, 1: some usage factor above it.
if(NOT (rc EQUAL 0 OR rc EQUAL 1) OR NOT out MATCHES "Shell Buckling")
  message(FATAL_ERROR "installed orvane-cli check failed (${rc}):\n${out}\n${err}")
endif()
