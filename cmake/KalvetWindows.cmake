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

# Sections start on page boundaries in the file as in memory, so that Wine maps the program's
# sections straight from the file; otherwise it copies each one in on every start, which for
# kalvet.exe's 12 MB took 130 ms, longer than anything else in its start.
add_link_options(LINKER:--file-alignment=4096)

# The release programs carry no symbol table: nothing reads it.
add_link_options($<$<CONFIG:Release>:LINKER:--strip-all>)

# DLLs that Qt links for what this program never starts (Direct3D and DXGI for its graphics
# back-ends, the graphics-adapter query for OpenGL windows, file dialogs, sockets, user and
# session queries) are loaded at their first call rather than at every start: each of them
# brings further DLLs of its own under Wine. Every one of their functions is imported through
# a delay-load library made here from the toolchain's import library, which the linker finds
# before it, so the programs link unchanged.
set(KALVET_DELAY_LOADED_DLLS d3d11 dxgi d3d9 comdlg32 authz netapi32 userenv ws2_32 wtsapi32)

function(kalvet_make_delay_load_libraries)
  get_filename_component(compiler "${CMAKE_C_COMPILER}" NAME)
  string(REGEX REPLACE "-gcc.*$" "" triple "${compiler}")
  find_program(KALVET_DLLTOOL "${triple}-dlltool" REQUIRED)
  find_program(KALVET_NM "${triple}-nm" REQUIRED)
  set(dir "${PROJECT_BINARY_DIR}/delay-load")
  file(MAKE_DIRECTORY "${dir}")
  foreach(dll IN LISTS KALVET_DELAY_LOADED_DLLS)
    unset(import_library)
    find_library(import_library NAMES "${dll}" REQUIRED NO_CACHE)
    execute_process(COMMAND "${KALVET_NM}" -g "${import_library}" OUTPUT_VARIABLE symbols
                    COMMAND_ERROR_IS_FATAL ANY)
    # The functions: each has a thunk (T) beside its import pointer; data has only the pointer.
    string(REGEX MATCHALL "[^\n]+ T [^\n]+" thunks "${symbols}")
    set(exports "")
    foreach(thunk IN LISTS thunks)
      string(REGEX REPLACE "^.* T " "" name "${thunk}")
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(REGEX REPLACE "^_" "" name "${name}")  # 32-bit C names carry an underscore
      endif()
      string(APPEND exports "${name}\n")
    endforeach()
    file(WRITE "${dir}/${dll}.def" "LIBRARY ${dll}.dll\nEXPORTS\n${exports}")
    # 32-bit stdcall names keep their @size in the program and lose it in the DLL.
    set(kill_at "")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(kill_at --kill-at)
    endif()
    execute_process(COMMAND "${KALVET_DLLTOOL}" --input-def "${dir}/${dll}.def" ${kill_at}
                            --dllname "${dll}.dll" --output-delaylib "${dir}/lib${dll}.a"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  link_directories(BEFORE "${dir}")
endfunction()
kalvet_make_delay_load_libraries()
