# Header-only libraries of a cross build, taken from Debian's host headers.
#
# A cross compiler must never see /usr/include itself (the host's C library
# headers would shadow its own), so each library's header folder is linked
# into one folder of the build, host-include/, that holds nothing but those
# links, and an imported target of the name the native build gets from
# find_package() puts that folder on the path:
#
#   orvane_host_headers(nlohmann_json::nlohmann_json HEADERS nlohmann)
#   orvane_host_headers(fmt::fmt-header-only HEADERS fmt DEFINITIONS FMT_HEADER_ONLY=1)
#
# ORVANE_HOST_HEADER_LIBRARIES lists every header-only library the cross
# build provides so; a native build finds the same names with find_package().
set(ORVANE_HOST_INCLUDE_DIR /usr/include CACHE PATH "Debian's host headers for a cross build")
set(ORVANE_HOST_LINKS_DIR ${CMAKE_BINARY_DIR}/host-include)

function(orvane_host_headers target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "HEADERS;DEFINITIONS")
  if(TARGET ${target})
    return()
  endif()
  foreach(folder IN LISTS arg_HEADERS)
    if(NOT EXISTS ${ORVANE_HOST_INCLUDE_DIR}/${folder})
      message(FATAL_ERROR "${target}: ${ORVANE_HOST_INCLUDE_DIR}/${folder} is missing (tools/deps.sh)")
    endif()
    file(MAKE_DIRECTORY ${ORVANE_HOST_LINKS_DIR})
    file(CREATE_LINK ${ORVANE_HOST_INCLUDE_DIR}/${folder} ${ORVANE_HOST_LINKS_DIR}/${folder} SYMBOLIC)
  endforeach()
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${ORVANE_HOST_LINKS_DIR}
    INTERFACE_INCLUDE_DIRECTORIES ${ORVANE_HOST_LINKS_DIR})
  if(arg_DEFINITIONS)
    set_target_properties(${target} PROPERTIES INTERFACE_COMPILE_DEFINITIONS "${arg_DEFINITIONS}")
  endif()
endfunction()

# TARGET|HEADER FOLDERS,...|DEFINITIONS,... for every header-only library.
set(ORVANE_HOST_HEADER_LIBRARIES
  "nlohmann_json::nlohmann_json|nlohmann|"
  "CLI11::CLI11|CLI|"
  "fmt::fmt-header-only|fmt|FMT_HEADER_ONLY=1"
  "FastFloat::fast_float|fast_float|")

if(CMAKE_CROSSCOMPILING)
  foreach(entry IN LISTS ORVANE_HOST_HEADER_LIBRARIES)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 target)
    list(GET fields 1 folders)
    list(GET fields 2 definitions)
    string(REPLACE "," ";" folders "${folders}")
    string(REPLACE "," ";" definitions "${definitions}")
    orvane_host_headers(${target} HEADERS ${folders} DEFINITIONS ${definitions})
  endforeach()
endif()
