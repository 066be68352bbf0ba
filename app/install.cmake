# What `cmake --install` puts in place, and the package built from it: on freedesktop systems
# the program with its desktop entry, its icon in the hicolor theme and its AppStream metainfo,
# packaged by `cpack -G DEB`; on Windows one executable that runs from wherever it is put, with
# its licences, packaged by `cpack -G ZIP`. Nothing else of the project installs anything.

include(GNUInstallDirs)

if(WIN32)
  # kalvet.exe alone: Qt, its platform plugin, the native widget style and the compiler's
  # runtime are linked into it. Beside it the licences: ours, Qt's LGPL with the GPL text that
  # it builds on, and how to relink the program with another Qt, which the LGPL lets every
  # user do.
  install(TARGETS kalvet RUNTIME DESTINATION .)
  install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt)
  set(qt_licenses "${QT6_INSTALL_PREFIX}/share/licenses/qt6-base")
  install(FILES "${qt_licenses}/LGPL-3.0-only.txt" DESTINATION licenses RENAME Qt-LGPL-3.0.txt)
  install(FILES "${qt_licenses}/GPL-3.0-only.txt" DESTINATION licenses RENAME GPL-3.0.txt)
  install(FILES doc/relinking-qt.txt DESTINATION licenses RENAME Qt-relinking.txt)
else()
  install(TARGETS kalvet RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  # A stripped install (as cpack makes) also drops the compilers' version notes, as Debian's
  # own packages do.
  string(CONFIGURE [[
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND "@CMAKE_OBJCOPY@" --remove-section=.comment
                              "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_BINDIR@/kalvet"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
  ]] strip_comment @ONLY)
  install(CODE "${strip_comment}")
endif()

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
  # The copyright file, the changelog and the manual page.
  include("${CMAKE_CURRENT_SOURCE_DIR}/doc/doc.cmake")
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
if(WIN32)
  # kalvet-1.00-win32.zip, which unpacks into a folder of the same name.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()
  set(CPACK_GENERATOR ZIP)
  set_target_properties(kalvet PROPERTIES
    KALVET_ZIP "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME}.zip")
  # Beside it the Windows Installer package, from the same staged files.
  include("${CMAKE_CURRENT_SOURCE_DIR}/windows-installer.cmake")
else()
  set(CPACK_GENERATOR DEB)
endif()
include(CPack)
