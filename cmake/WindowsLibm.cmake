# pow and exp for the Windows command line, from the same source as Linux.
#
# mingw-w64's pow is often an ulp off where glibc's is not: pow(6874.9, 4)
# is 2233909329007784.8 there and ...784.5 (the nearer double) here, and a
# thin column's I = pi*(Do^4 - Di^4)/64 takes that to 200 ulp. glibc and
# musl compute pow, exp and log with one implementation (Arm's optimized
# routines, the same tables), so the Windows build links musl's copy of it,
# as Debian ships it in emscripten's C library (the browser module uses the
# very same), ahead of mingw-w64's. The objects go into the program itself,
# so a static link takes them before the C runtime's library.
set(ORVANE_MUSL_DIR /usr/share/emscripten/system/lib/libc/musl
    CACHE PATH "musl sources (Debian's emscripten package)")
set(orvane_musl_math ${ORVANE_MUSL_DIR}/src/math)
if(NOT EXISTS ${orvane_musl_math}/pow.c)
  message(FATAL_ERROR "${orvane_musl_math}/pow.c is missing: run tools/deps.sh (emscripten)")
endif()
enable_language(C)
add_library(orvane_libm OBJECT)
foreach(f pow pow_data exp exp_data log log_data __math_oflow __math_uflow __math_xflow
          __math_invalid __math_divzero)
  target_sources(orvane_libm PRIVATE ${orvane_musl_math}/${f}.c)
endforeach()
target_include_directories(orvane_libm PRIVATE ${CMAKE_SOURCE_DIR}/cmake/musl-shim
                           ${ORVANE_MUSL_DIR}/src/internal ${ORVANE_MUSL_DIR}/arch/generic)
# as musl builds them: C99, no contraction into fused multiply-adds
target_compile_options(orvane_libm PRIVATE -std=c99 -O2 -ffp-contract=off -w)
target_compile_definitions(orvane_libm PRIVATE hidden=)
