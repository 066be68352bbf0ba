# What `cmake --install` puts in place, and the Debian package built from it with
# `cpack -G DEB`: the program, and on freedesktop systems its desktop entry, its icon in the
# hicolor theme and its AppStream metainfo. Nothing else of the project installs anything.

include(GNUInstallDirs)

install(TARGETS kalvet RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

if(UNIX AND NOT APPLE)
  set(desktop_dir "${CMAKE_CURRENT_BINARY_DIR}/desktop")
  set(KALVET_EXECUTABLE kalvet)
  configure_file(desktop/kalvet.desktop.in "${desktop_dir}/${KALVET_APP_ID}.desktop" @ONLY)
  configure_file(desktop/kalvet.metainfo.xml.in "${desktop_dir}/${KALVET_APP_ID}.metainfo.xml" @ONLY)

  set(icon_theme_dir "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
  install(FILES "${desktop_dir}/${KALVET_APP_ID}.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${desktop_dir}/${KALVET_APP_ID}.metainfo.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  install(FILES icons/kalvet.svg
          DESTINATION "${icon_theme_dir}/scalable/apps" RENAME "${KALVET_APP_ID}.svg")
  install(FILES "${KALVET_ICON_DIR}/kalvet.png"
          DESTINATION "${icon_theme_dir}/32x32/apps" RENAME "${KALVET_APP_ID}.png")
endif()

# The Debian package. Its dependencies are read off the binary by dpkg-shlibdeps; the font
# package is added because the main window asks for Arial, and Liberation Sans is the
# metric-compatible face that fontconfig puts in its place.
set(CPACK_PACKAGE_NAME kalvet)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Kalvet developers")
set(CPACK_PACKAGE_CONTACT "Kalvet developers <kalvet@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "averaging calculator with a Czech user interface")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Kalvet works out the average of numbers typed in one at a time. It shows the
average so far, how many numbers were entered, the last one and the running
average, and switches between a yellow and the classic colour scheme. It keeps
everything in memory and reads and writes no files.")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # kalvet_1.00_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
