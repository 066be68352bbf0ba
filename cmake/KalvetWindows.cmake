# Building for Windows on Linux: the DLLs that the programs load besides their own, and Wine,
# which runs the test suites as Windows programs.

# The compiler's runtime, which kalvet.exe and Qt's DLLs load: libstdc++, libgcc (named after
# its exception model, which differs between the 32- and 64-bit compilers) and winpthread.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(gcc_runtime libgcc_s_dw2-1.dll)
else()
  set(gcc_runtime libgcc_s_seh-1.dll)
endif()
set(KALVET_MINGW_RUNTIME_DLLS "")
foreach(dll IN ITEMS ${gcc_runtime} libstdc++-6.dll libwinpthread-1.dll)
  execute_process(
    COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll}
    OUTPUT_VARIABLE path
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where its runtime ${dll} is")
  endif()
  list(APPEND KALVET_MINGW_RUNTIME_DLLS "${path}")
endforeach()

# Where the DLLs are found when a test runs: the runtime's folders and Qt's bin folder. Qt
# finds its plugins relative to Qt6Core.dll.
set(dll_dirs "")
foreach(path IN LISTS KALVET_MINGW_RUNTIME_DLLS)
  get_filename_component(dir "${path}" DIRECTORY)
  list(APPEND dll_dirs "${dir}")
endforeach()
if(TARGET Qt6::Core)
  get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
  get_filename_component(dir "${qt_core_dll}" DIRECTORY)
  list(APPEND dll_dirs "${dir}")
endif()
list(REMOVE_DUPLICATES dll_dirs)

# Every test program runs under Wine in the project's test prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/windows/wine-run")
foreach(dir IN LISTS dll_dirs)
  list(APPEND CMAKE_CROSSCOMPILING_EMULATOR --dll-dir "${dir}")
endforeach()
# wine-run's exit status when Wine cannot run the program on this machine at all (a 32-bit
# program where the kernel runs no 32-bit code): the test is then reported as skipped.
set(KALVET_WINE_SKIPPED 200)
