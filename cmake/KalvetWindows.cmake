# Building for Windows on Linux: every program is one executable that needs nothing but
# Windows' own DLLs, and Wine runs the test suites as Windows programs.

# Qt comes in as static libraries; the compiler's runtime (libstdc++, libgcc, winpthread) is
# linked in too. Each function and datum in a section of its own lets the linker drop what no
# program calls, as Qt's own static libraries are built.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static LINKER:--gc-sections)

# Every test program runs under Wine in the project's test prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/windows/wine-run")
# wine-run's exit status when Wine cannot run the program on this machine at all (a 32-bit
# program where the kernel runs no 32-bit code): the test is then reported as skipped.
set(KALVET_WINE_SKIPPED 200)
