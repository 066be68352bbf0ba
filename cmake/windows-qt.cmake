# Toolchain for the Windows presets: Qt for Windows as scripts/windows/build-qt builds it into
# its cache folder, for the target that the including file names in KALVET_WINDOWS_TARGET.
# Qt's own toolchain file then chain-loads the mingw-w64 toolchain it was built with.
# CMake reads this file again for every compiler check, so it only asks where Qt is.
execute_process(
  COMMAND "${CMAKE_CURRENT_LIST_DIR}/../scripts/windows/build-qt"
          --target "${KALVET_WINDOWS_TARGET}" --prefix
  OUTPUT_VARIABLE kalvet_windows_qt
  OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE kalvet_windows_qt_missing)
if(kalvet_windows_qt_missing)
  message(FATAL_ERROR "Qt for ${KALVET_WINDOWS_TARGET} is not built yet (${kalvet_windows_qt}). "
                      "Build it once with: scripts/windows/build-qt --target ${KALVET_WINDOWS_TARGET}")
endif()
include("${kalvet_windows_qt}/lib/cmake/Qt6/qt.toolchain.cmake")
