# The Windows Installer package kalvet-1.00-win32.msi (win64 for the 64-bit build), made by the
# same `cpack` call as the zip and from the very files it staged for the zip: a script that
# CPack runs after the zip (CPACK_POST_BUILD_SCRIPTS) hands them to windows-installer.py, which
# builds the package with Debian's wixl. Needs CPACK_SYSTEM_NAME and KALVET_ICO.

find_program(KALVET_WIXL wixl REQUIRED)
# Debian's Python, which has python3-olefile.
find_program(KALVET_MSI_PYTHON /usr/bin/python3 REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# Fixed for good: Windows Installer knows every version of Kalvet by it, which lets a later
# version replace an earlier one. The product code is new with each version (and differs
# between the 32- and 64-bit packages), derived from the version so the same source gives the
# same package.
set(KALVET_UPGRADE_CODE "8A6A1E2C-7B4F-4D49-9C3E-2F5D0B7A4C11")
string(UUID product_code NAMESPACE "${KALVET_UPGRADE_CODE}"
       NAME "Kalvet ${PROJECT_VERSION} ${CPACK_SYSTEM_NAME}" TYPE SHA1 UPPER)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(msi_arch x86)
else()
  set(msi_arch x64)
endif()

# CPack writes every CPACK_* variable into CPackConfig.cmake, where the script reads them.
# The package's times: the build's SOURCE_DATE_EPOCH (cmake/KalvetReproducible.cmake).
set(CPACK_KALVET_MSI_EPOCH "${KALVET_SOURCE_DATE_EPOCH}")
set(CPACK_KALVET_MSI_COMMAND
  "${KALVET_MSI_PYTHON}" "${CMAKE_CURRENT_SOURCE_DIR}/windows-installer.py"
  --wixl "${KALVET_WIXL}"
  --wxs "${CMAKE_CURRENT_SOURCE_DIR}/kalvet.wxs"
  --icon "${KALVET_ICO}"
  --arch ${msi_arch}
  --product-name "Kalvet 1.2"
  --version "${PROJECT_VERSION}"
  --manufacturer "${KALVET_PUBLISHER}"
  --upgrade-code "${KALVET_UPGRADE_CODE}"
  --product-code "${product_code}"
  --shortcut kalvet.exe)
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_SOURCE_DIR}/windows-installer-cpack.cmake")
set_target_properties(kalvet PROPERTIES
  KALVET_MSI "kalvet-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}.msi"
  KALVET_UPGRADE_CODE "${KALVET_UPGRADE_CODE}"
  KALVET_PRODUCT_ICON "${KALVET_ICO}")
