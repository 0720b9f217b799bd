# The printed report, the Help menu's windows and documents, and the headless
# report command. Included from ui/CMakeLists.txt, so it runs in the scope of
# the ui directory and extends orvane_ui.
get_filename_component(ORVANE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
find_package(Qt6 REQUIRED COMPONENTS Help)

target_sources(orvane_ui PRIVATE
  ${ORVANE_ROOT}/ui/report/report.cpp
  ${ORVANE_ROOT}/ui/report/report_cases.cpp
  ${ORVANE_ROOT}/ui/report/report_command.cpp
  ${ORVANE_ROOT}/ui/report/report_page.cpp
  ${ORVANE_ROOT}/ui/report/report_panels.cpp
  ${ORVANE_ROOT}/ui/report/report_profiles.cpp
  ${ORVANE_ROOT}/ui/report/report_sketch.cpp
  ${ORVANE_ROOT}/ui/report/print_dialog.cpp
  ${ORVANE_ROOT}/ui/main/help_window.cpp
  ${ORVANE_ROOT}/ui/main/help_window.hpp
  ${ORVANE_ROOT}/ui/main/about_window.cpp
  ${ORVANE_ROOT}/ui/main/about_window.hpp
  ${ORVANE_ROOT}/ui/main/info_windows.cpp
  ${ORVANE_ROOT}/ui/main/info_windows.hpp
)
find_package(CLI11 2 REQUIRED)
target_link_libraries(orvane_ui PUBLIC Qt6::PrintSupport Qt6::Help PRIVATE CLI11::CLI11)

# Help collection: the pages are compiled beside the program, help/ in the
# output folder, where the help window looks for them.
set(ORVANE_HELP_PAGES
  index.html inputs.html modes.html shell.html column.html stiffener.html ringframe.html
  profiles.html results.html files.html loadcases.html report.html studies.html study.html
  sheet.html rulenotes.html forces.html forces_axes.svg style.css)
find_program(ORVANE_QHELPGENERATOR qhelpgenerator
  HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS} /usr/lib/qt6/libexec REQUIRED)
set(ORVANE_HELP_STAGE ${CMAKE_BINARY_DIR}/help-stage)
set(ORVANE_HELP_DIR ${CMAKE_BINARY_DIR}/bin/help)
set(help_inputs ${ORVANE_ROOT}/help/orvane.qhp ${ORVANE_ROOT}/help/orvane.qhcp)
foreach(page IN LISTS ORVANE_HELP_PAGES)
  list(APPEND help_inputs ${ORVANE_ROOT}/help/${page})
endforeach()
add_custom_command(
  OUTPUT ${ORVANE_HELP_DIR}/orvane.qhc ${ORVANE_HELP_DIR}/orvane.qch
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ORVANE_HELP_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${ORVANE_ROOT}/help ${ORVANE_HELP_STAGE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${ORVANE_HELP_STAGE}
          ${ORVANE_QHELPGENERATOR} -s orvane.qhcp -o orvane.qhc
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANE_HELP_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${ORVANE_HELP_STAGE}/orvane.qhc ${ORVANE_HELP_STAGE}/orvane.qch
          ${ORVANE_HELP_DIR}
  DEPENDS ${help_inputs}
  COMMENT "Compiling the help collection"
  VERBATIM)
add_custom_target(orvane_help ALL DEPENDS ${ORVANE_HELP_DIR}/orvane.qhc)

# The theory manual, typeset from our own text when the program is built.
add_executable(orvane-make-manual ${ORVANE_ROOT}/tools/make_manual.cpp)
target_link_libraries(orvane-make-manual PRIVATE Qt6::Gui orvane_cli_lib orvane_options)
set(ORVANE_MANUAL "${CMAKE_BINARY_DIR}/bin/Documentation/Orvane DNV Theory Manual.pdf")
file(GLOB ORVANE_MANUAL_SOURCES CONFIGURE_DEPENDS ${ORVANE_ROOT}/tools/manual/*.html)
add_custom_command(
  OUTPUT ${ORVANE_MANUAL}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:orvane-make-manual> ${ORVANE_ROOT}/tools/manual ${ORVANE_MANUAL}
          ${ORVANE_ROOT}/data
  DEPENDS orvane-make-manual ${ORVANE_MANUAL_SOURCES} ${ORVANE_ROOT}/data/DNVmat.dat
          ${ORVANE_ROOT}/data/lprof.dat ${ORVANE_ROOT}/data/tprof.dat ${ORVANE_ROOT}/data/fprof.dat
          ${ORVANE_ROOT}/data/bfprof.dat
  COMMENT "Typesetting the theory manual"
  VERBATIM)
add_custom_target(orvane_manual ALL DEPENDS ${ORVANE_MANUAL})
