# A cross build finds no GoogleTest built for its target system, but Debian ships the source
# in /usr/src/googletest (package googletest). Then GoogleTest is built as part of the project,
# so that the test suites find GTest::gtest and GTest::gtest_main already defined.

option(KALVET_GTEST_FROM_SOURCE "Build GoogleTest from its source tree instead of using the installed package"
       ${CMAKE_CROSSCOMPILING})
set(KALVET_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source tree, for KALVET_GTEST_FROM_SOURCE")

# A function, so that the settings for GoogleTest stay out of the caller's scope.
function(kalvet_gtest_from_source)
  if(KALVET_GTEST_FROM_SOURCE AND NOT TARGET GTest::gtest_main)
    if(NOT EXISTS "${KALVET_GTEST_SOURCE_DIR}/CMakeLists.txt")
      message(FATAL_ERROR "No GoogleTest source in ${KALVET_GTEST_SOURCE_DIR} (Debian package googletest)")
    endif()
    # Only the library: no Google Mock, and nothing of it is installed or packaged.
    set(CMAKE_POLICY_DEFAULT_CMP0077 NEW) # let the settings below override its options
    set(BUILD_GMOCK OFF)
    set(INSTALL_GTEST OFF)
    # Only the targets the tests link are built.
    add_subdirectory("${KALVET_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
    foreach(lib IN ITEMS gtest gtest_main)
      if(NOT TARGET GTest::${lib})
        add_library(GTest::${lib} ALIAS ${lib})
      endif()
    endforeach()
  endif()
endfunction()
kalvet_gtest_from_source()
