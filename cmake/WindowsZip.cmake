# The Windows command line as one zip: build-win/orvane-cli-windows.zip holds
# orvane-cli/ with orvane-cli.exe, data/ and README.txt (CRLF line ends).
# Nothing is installed on the target machine; the program finds data/ beside
# itself.
set(orvane_zip_stage ${CMAKE_BINARY_DIR}/zip-stage)
set(orvane_zip ${CMAKE_BINARY_DIR}/orvane-cli-windows.zip)
set(orvane_zip_data)
foreach(f IN LISTS ORVANE_DATA_FILES)
  list(APPEND orvane_zip_data ${CMAKE_SOURCE_DIR}/data/${f})
endforeach()
add_custom_command(
  OUTPUT ${orvane_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${orvane_zip_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${orvane_zip_stage}/orvane-cli/data
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:orvane-cli> ${orvane_zip_stage}/orvane-cli/
  COMMAND ${CMAKE_COMMAND} -E copy ${orvane_zip_data} ${orvane_zip_stage}/orvane-cli/data/
  COMMAND ${CMAKE_COMMAND} -DIN=${CMAKE_SOURCE_DIR}/packaging/windows/README.txt
          -DOUT=${orvane_zip_stage}/orvane-cli/README.txt -DVERSION=${PROJECT_VERSION}
          -P ${CMAKE_SOURCE_DIR}/cmake/CrlfText.cmake
  COMMAND ${CMAKE_COMMAND} -E rm -f ${orvane_zip}
  COMMAND ${CMAKE_COMMAND} -E chdir ${orvane_zip_stage}
          ${CMAKE_COMMAND} -E tar cf ${orvane_zip} --format=zip "--mtime=2000-01-01 00:00:00 UTC" orvane-cli
  DEPENDS orvane-cli ${orvane_zip_data} ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt
          ${CMAKE_SOURCE_DIR}/cmake/CrlfText.cmake
  COMMENT "Packing orvane-cli-windows.zip"
  VERBATIM)
add_custom_target(orvane_windows_zip ALL DEPENDS ${orvane_zip})
