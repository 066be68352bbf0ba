# Toolchain of the `windows64` preset: 64-bit Windows, which Wine runs where the kernel runs no
# 32-bit code.
set(KALVET_WINDOWS_TARGET x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/windows-qt.cmake")
