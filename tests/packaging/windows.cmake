# The Windows packages: the zip and the installer that `cpack` makes, what the zip holds, the
# executable's resources, kalvet.exe alone in an empty folder used under Wine, and the
# installer installed and removed again under Wine.

find_program(KALVET_WINDOWS_PYTHON /usr/bin/python3 REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(check "${KALVET_WINDOWS_PYTHON}" "${here}/windows_package.py")
get_target_property(zip_name kalvet KALVET_ZIP)
set(zip "${CMAKE_CURRENT_BINARY_DIR}/zip/${zip_name}")

# Starts a program, closes its window and reports how it ended; a console program that needs
# no DLL of its own.
add_executable(windowdriver windowdriver.cpp)
target_link_options(windowdriver PRIVATE -municode -static)
target_compile_definitions(windowdriver PRIVATE UNICODE _UNICODE)
kalvet_warnings(windowdriver)

# What a screen reader gets from the program through UI Automation, for the smoke run: a
# stand-in for Windows' UIAutomationCore.dll that records it, and a program that asks a window
# for its root. Each needs no DLL of its own. The stand-in's exports are named in a .def file,
# for 32-bit Windows with their stdcall byte counts, which 64-bit functions do not carry.
set(uia_exports "${here}/uiautomationcore.def")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  file(READ "${uia_exports}" exports)
  string(REGEX REPLACE " = [A-Za-z]+@[0-9]+" "" exports "${exports}")
  set(uia_exports "${CMAKE_CURRENT_BINARY_DIR}/uiautomationcore.def")
  file(GENERATE OUTPUT "${uia_exports}" CONTENT "${exports}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${here}/uiautomationcore.def")
endif()
add_library(uiautomationcore SHARED uiautomationcore.cpp "${uia_exports}")
# In a folder of its own, away from the programs, for which it is no part of Windows.
set_target_properties(uiautomationcore PROPERTIES OUTPUT_NAME UIAutomationCore PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/uia")
target_link_options(uiautomationcore PRIVATE -static)
target_link_libraries(uiautomationcore PRIVATE oleaut32)
kalvet_warnings(uiautomationcore)

add_executable(uiaroot uiaroot.cpp)
target_link_options(uiaroot PRIVATE -municode -static)
target_compile_definitions(uiaroot PRIVATE UNICODE _UNICODE)
kalvet_warnings(uiaroot)

packaging_test(zip FIXTURES_SETUP packaging_zip
  COMMAND "${CMAKE_CPACK_COMMAND}" --config "${PROJECT_BINARY_DIR}/CPackConfig.cmake"
          -B "${CMAKE_CURRENT_BINARY_DIR}/zip")
set_tests_properties(packaging.zip PROPERTIES RESOURCE_LOCK kalvet_build_install)

# Exactly the program and the licences.
set(expected kalvet.exe LICENSE.txt licenses/Qt-LGPL-3.0.txt licenses/GPL-3.0.txt
    licenses/Qt-relinking.txt)
# Wine's own builds of the DLLs that Windows provides. Without Wine's 32-bit half the 64-bit
# DLLs name the same set.
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND IS_DIRECTORY /usr/lib/i386-linux-gnu/wine/i386-windows)
  set(windows_dlls /usr/lib/i386-linux-gnu/wine/i386-windows)
  set(machine I386)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(windows_dlls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  set(machine I386)
else()
  set(windows_dlls /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  set(machine AMD64)
endif()
packaging_test(zip-contents FIXTURES_REQUIRED packaging_zip
  COMMAND ${check} contents "${zip}" --expect ${expected} --system-dlls "${windows_dlls}")

packaging_test(exe-resources COMMAND ${check} resources "$<TARGET_FILE:kalvet>" --machine ${machine})

packaging_test(smoke FIXTURES_REQUIRED packaging_zip
  COMMAND ${check} smoke "${zip}" --driver "$<TARGET_FILE:windowdriver>"
          --wine-run "${PROJECT_SOURCE_DIR}/scripts/windows/wine-run"
          --uia "$<TARGET_FILE:uiautomationcore>" --uia-root "$<TARGET_FILE:uiaroot>")
# About half a minute; a build that raises no notification waits 10 s at each of the 15 steps
# that expect one, and should say so rather than time out.
set_tests_properties(packaging.smoke PROPERTIES SKIP_RETURN_CODE ${KALVET_WINE_SKIPPED}
  TIMEOUT 600)

# The Windows Installer package that the same cpack call makes, installed and removed again in
# a copy of the Wine test prefix.
get_target_property(msi_name kalvet KALVET_MSI)
get_target_property(upgrade_code kalvet KALVET_UPGRADE_CODE)
get_target_property(product_icon kalvet KALVET_PRODUCT_ICON)
packaging_test(msi FIXTURES_REQUIRED packaging_zip
  COMMAND ${check} msi "${CMAKE_CURRENT_BINARY_DIR}/zip/${msi_name}" --zip "${zip}"
          --upgrade-code "${upgrade_code}" --icon "${product_icon}" --machine ${machine}
          --driver "$<TARGET_FILE:windowdriver>"
          --wine-run "${PROJECT_SOURCE_DIR}/scripts/windows/wine-run")
set_tests_properties(packaging.msi PROPERTIES SKIP_RETURN_CODE ${KALVET_WINE_SKIPPED})
