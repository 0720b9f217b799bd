# Installed layout and the Debian package.
#
# The programs look for data/, help/ and Documentation/ beside their own
# executable, so everything lives in one folder, lib/orvane-dnv, and bin/
# holds links to the three programs.
include(GNUInstallDirs)
set(ORVANE_APP_DIR ${CMAKE_INSTALL_LIBDIR}/orvane-dnv)

set(orvane_programs)
foreach(program orvane-cli orvane orvane-report)
  if(TARGET ${program})
    list(APPEND orvane_programs ${program})
  endif()
endforeach()
if(orvane_programs)
  install(TARGETS ${orvane_programs} RUNTIME DESTINATION ${ORVANE_APP_DIR})
endif()
foreach(program IN LISTS orvane_programs)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"../${ORVANE_APP_DIR}/${program}\" \"\${link}\" SYMBOLIC)
    message(STATUS \"Installing: \${link}\")")
endforeach()

foreach(f IN LISTS ORVANE_DATA_FILES)
  install(FILES ${CMAKE_SOURCE_DIR}/data/${f} DESTINATION ${ORVANE_APP_DIR}/data)
endforeach()

if(TARGET orvane_help)
  install(FILES ${CMAKE_BINARY_DIR}/bin/help/orvane.qhc ${CMAKE_BINARY_DIR}/bin/help/orvane.qch
          DESTINATION ${ORVANE_APP_DIR}/help)
  install(FILES "${CMAKE_BINARY_DIR}/bin/Documentation/Orvane DNV Theory Manual.pdf"
          DESTINATION ${ORVANE_APP_DIR}/Documentation)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvane-dnv.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvane-dnv.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/orvane-dnv.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
endif()

# Manual pages and the package's changelog, compressed reproducibly (no name,
# no time stamp in the gzip header) when the build is configured.
function(orvane_gzip source target)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  get_filename_component(dir ${target} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${target} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip ${source} failed")
  endif()
endfunction()
set(orvane_pages)
foreach(program IN LISTS orvane_programs)
  set(page ${CMAKE_BINARY_DIR}/packaging/${program}.1.gz)
  orvane_gzip(${CMAKE_SOURCE_DIR}/packaging/man/${program}.1 ${page})
  list(APPEND orvane_pages ${page})
endforeach()
if(orvane_pages)
  install(FILES ${orvane_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
orvane_gzip(${CMAKE_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane-dnv)

# The installed tree answers a check of a shipped project file.
if(ORVANE_BUILD_TESTS AND TARGET orvane-cli)
  set(stage ${CMAKE_BINARY_DIR}/install-test)
  add_test(NAME installed_tree_check
           COMMAND ${CMAKE_COMMAND} -DBUILD=${CMAKE_BINARY_DIR} -DSTAGE=${stage}
                   -DPROJECT=${CMAKE_SOURCE_DIR}/tests/fixtures/files/v001.cys
                   -DWITH_UI=$<BOOL:$<TARGET_EXISTS:orvane_help>>
                   -P ${CMAKE_SOURCE_DIR}/cmake/InstallCheck.cmake)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane-dnv)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Orvane DNV maintainers <orvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Cylinder shell buckling based on DNV-RP-C202")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Checks the buckling strength of circular cylindrical steel shells (legs,\n"
    "columns, hull members of offshore structures): shell buckling of\n"
    "unstiffened cylinders and curved panels, stiffener buckling, panel ring\n"
    "buckling with the ring-frame requirements, and global column buckling. A\n"
    "desktop program that recalculates on every input and prints a one-page\n"
    "report, a headless command-line check with JSON output for scripts, and\n"
    "a PDF report writer.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the programs link come from dpkg-shlibdeps; what Qt loads at
# run time (platform, SQLite driver of the help engine, SVG icons), the
# windows' face and the report's fonts are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6sql6-sqlite (>= 6.4), libqt6svg6 (>= 6.4), fonts-dejavu-core, fonts-liberation2")
set(CPACK_STRIP_FILES ON)
include(CPack)
