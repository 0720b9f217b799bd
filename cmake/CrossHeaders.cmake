# A cross compiler (emscripten, MinGW) must never search the build machine's
# /usr/include, but Debian's header-only libraries in it are portable. This
# links only the named folders of /usr/include into one folder of the build
# tree and puts that folder on the target's (interface) include path.
#   orvane_cross_headers(<target> <folder>...)   e.g. fmt fast_float nlohmann CLI
function(orvane_cross_headers target)
  set(dir ${CMAKE_BINARY_DIR}/cross-include)
  file(MAKE_DIRECTORY ${dir})
  foreach(name IN LISTS ARGN)
    if(NOT IS_DIRECTORY /usr/include/${name})
      message(FATAL_ERROR "/usr/include/${name} is missing: run tools/deps.sh")
    endif()
    file(CREATE_LINK /usr/include/${name} ${dir}/${name} SYMBOLIC)
  endforeach()
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} SYSTEM INTERFACE ${dir})
  else()
    target_include_directories(${target} SYSTEM PUBLIC ${dir})
  endif()
endfunction()
