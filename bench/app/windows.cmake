# Start-up of kalvet.exe under Wine, from its unpacked zip, beside a bare Win32 window built
# with the same compiler: the time from starting each until its window is shown, median of 10,
# with a warm wineserver, first with Wine's null display driver (as the tests run), then with
# its X11 driver on a private Xvfb display. It prints figures and never fails on them.
#   cmake --build --preset windows64 --target bench_windows_startup
add_executable(barewindow WIN32 barewindow.cpp)
target_link_options(barewindow PRIVATE -municode -static)
target_compile_definitions(barewindow PRIVATE UNICODE _UNICODE)
kalvet_warnings(barewindow)

if(TARGET windowdriver)
  set(zip_dir "${CMAKE_CURRENT_BINARY_DIR}/zip")
  get_target_property(zip_name kalvet KALVET_ZIP)
  add_custom_target(bench_windows_startup
    COMMAND "${CMAKE_CPACK_COMMAND}" --config "${PROJECT_BINARY_DIR}/CPackConfig.cmake"
            -B "${zip_dir}"
    COMMAND /usr/bin/python3 "${CMAKE_CURRENT_SOURCE_DIR}/windows_startup.py"
            --zip "${zip_dir}/${zip_name}" --bare "$<TARGET_FILE:barewindow>"
            --driver "$<TARGET_FILE:windowdriver>"
            --wine-run "${PROJECT_SOURCE_DIR}/scripts/windows/wine-run" --runs 10
            --graphics null x11
    DEPENDS kalvet barewindow windowdriver
    USES_TERMINAL
    VERBATIM
    COMMENT "Measuring the start-up of kalvet.exe under Wine beside a bare Win32 window")
endif()
