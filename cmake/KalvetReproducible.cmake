# Builds that anyone can repeat bit for bit, from any folder and at any time.
#
# Every time a build writes into what it makes (the times of the files in the resources
# compiled into the program and in the packages, the date of the manual page) is the time of
# the source, SOURCE_DATE_EPOCH: taken from the environment when it is set there, otherwise
# from the last commit, otherwise a fixed date. The build passes it on to the tools that write
# such times (rcc, cpack), so it need not be set when building or packaging. Paths of the
# source and build folders are written as relative paths, and Windows executables carry no
# link time in their header.

if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(KALVET_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
  set(epoch_from "the environment")
else()
  set(KALVET_SOURCE_DATE_EPOCH "")
  find_package(Git QUIET)
  if(Git_FOUND)
    execute_process(
      COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
      WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
      OUTPUT_VARIABLE KALVET_SOURCE_DATE_EPOCH
      OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET)
    # A new commit configures the build again, so that the time follows it.
    execute_process(
      COMMAND "${GIT_EXECUTABLE}" rev-parse --absolute-git-dir
      WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
      OUTPUT_VARIABLE git_dir
      OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET)
    if(git_dir AND EXISTS "${git_dir}/logs/HEAD")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${git_dir}/logs/HEAD")
    endif()
  endif()
  set(epoch_from "the last commit")
  if(NOT KALVET_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    # No git history (a source archive): the day of the first release.
    set(KALVET_SOURCE_DATE_EPOCH 1796688000) # 2026-12-08 00:00:00 UTC
    set(epoch_from "no commit; a fixed date")
  endif()
  # For string(TIMESTAMP) while configuring.
  set(ENV{SOURCE_DATE_EPOCH} "${KALVET_SOURCE_DATE_EPOCH}")
endif()
message(STATUS "SOURCE_DATE_EPOCH: ${KALVET_SOURCE_DATE_EPOCH} (${epoch_from})")

# The commands that the build runs (rcc among them, which stamps every file in a resource
# with its modification time, or with SOURCE_DATE_EPOCH when that is set) see the same time.
set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
  "${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${KALVET_SOURCE_DATE_EPOCH}")

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  # __FILE__ and debug information name the files in the source folder as ./..., and those
  # generated in the build folder as build/... (the later option is tried first).
  add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                      "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
endif()
if(MINGW)
  # The PE header's TimeDateStamp would otherwise be the link time.
  add_link_options(-Wl,--no-insert-timestamp)
endif()

# cpack reads SOURCE_DATE_EPOCH for the times of the files in the packages it writes.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/KalvetCPackOptions.cmake")
file(CONFIGURE OUTPUT "${CPACK_PROJECT_CONFIG_FILE}" CONTENT [[
# Written by cmake/KalvetReproducible.cmake: the time of the files in the packages.
set(ENV{SOURCE_DATE_EPOCH} "@KALVET_SOURCE_DATE_EPOCH@")
# Zip entries carry local time.
set(ENV{TZ} UTC)
]] @ONLY)
