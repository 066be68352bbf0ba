# Toolchain of the `windows` preset: 32-bit Windows, the program we ship.
set(KALVET_WINDOWS_TARGET i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/windows-qt.cmake")
