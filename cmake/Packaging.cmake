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
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6svg6 (>= 6.4), libqt6help6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
include(CPack)
