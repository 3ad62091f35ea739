# Installing Kelvane and packing it as a Debian package.
# Included at the end of the top-level CMakeLists.txt, after every target exists.
include(GNUInstallDirs)

set(KELVANE_APP_ID io.kelvane.Kelvane)

# The window, the replay driver, the batch calculator and the register's
# command; any may be left out of a build.
foreach(program IN ITEMS kelvane kelvane-replay kelvane-batch kelvane-register)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${KELVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${KELVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Job files (*.kelvane) as a MIME type, for the desktop entry's MimeType=.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelvane.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# The browser page, one HTML file for the PCs without Kelvane (copied to a
# shared drive or an intranet server), where it has been built: whether it
# exists is asked when the package is made, not when the build is set up.
install(FILES ${KELVANE_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/kelvane/web OPTIONAL)

# The copyright file, the changelog and the manual pages where Debian keeps
# them; the compressed ones are made reproducibly (no name, no time stamp).
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
set(kelvane_gzipped)
foreach(source IN ITEMS changelog kelvane.1 kelvane-replay.1 kelvane-batch.1 kelvane-register.1)
  set(gzipped ${CMAKE_BINARY_DIR}/packaging/${source}.gz)
  add_custom_command(OUTPUT ${gzipped}
                     COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip
                             ${CMAKE_CURRENT_LIST_DIR}/${source} ${gzipped}
                     DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${source} VERBATIM)
  list(APPEND kelvane_gzipped ${gzipped})
endforeach()
add_custom_target(kelvane_gzipped_docs ALL DEPENDS ${kelvane_gzipped})
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(program IN ITEMS kelvane kelvane-replay kelvane-batch kelvane-register)
  if(TARGET ${program})
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${program}.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kelvane developers <dev@kelvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wound coil calculator for quotations")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The long description under the summary line, one line of the control file each.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Kelvane works out a wound coil from the wire, the number of turns, the"
  "lead length, the layer width, the conductor material and the former"
  "(round, rectangular or fan-shaped): how the turns lie in layers, the"
  "winding heights and outer dimensions, the wire length, the weights and"
  "the DC resistance, and the number of turns that reaches a target height,"
  "weight or resistance. The window is in Japanese.")
# The libraries the programs link are found by dpkg-shlibdeps. What Qt loads
# at run time is named here: the platform plugins that open the window, the
# SVG icon and image plugins (libqt6svg6), Qt's own Japanese texts, and a
# Japanese Gothic font for the captions and the printed sheets (IPA P Gothic:
# a PDF set in Noto Sans CJK reads many kanji back as their radicals).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic")

# lintian checks the package when it is installed; its errors fail the build.
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/lintian.cmake)

include(CPack)
