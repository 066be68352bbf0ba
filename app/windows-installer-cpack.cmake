# Run by CPack after it has made the zip (CPACK_POST_BUILD_SCRIPTS, set in
# windows-installer.cmake): builds the Windows Installer package beside the zip, from the folder
# that CPack staged for it.

if(NOT CPACK_GENERATOR STREQUAL "ZIP")
  return()
endif()
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  set(epoch "${CPACK_KALVET_MSI_EPOCH}")
endif()
execute_process(
  COMMAND ${CPACK_KALVET_MSI_COMMAND} --epoch "${epoch}" "${CPACK_TEMPORARY_DIRECTORY}"
          "${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi"
  COMMAND_ERROR_IS_FATAL ANY)
