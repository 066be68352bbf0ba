# Makes one compressed document of the package at build time: the manual page for one
# language out of the two-language template, or a file as it is (the changelog). Compressed
# as Debian wants it, at the highest level and without the name and time of the uncompressed
# file, so that the same source always gives the same bytes.
#   cmake -D INPUT=<file> -D OUTPUT=<file.gz> -D GZIP=<gzip>
#         [-D LANGUAGE=<cs|en> -D LANGUAGES=<cs,en> -D KALVET_MAN_DATE=<date>
#          -D PROJECT_VERSION=<version>] -P render.cmake
cmake_minimum_required(VERSION 3.25)

string(REGEX REPLACE "\\.gz$" "" plain "${OUTPUT}")
if(DEFINED LANGUAGE)
  # A line "xx:text" belongs to language xx only; the rest belong to every language. The text
  # is handled as one string, never as a CMake list, which would split it at semicolons.
  file(READ "${INPUT}" text)
  set(text "\n${text}")
  string(REPLACE "," ";" languages "${LANGUAGES}")
  foreach(other IN LISTS languages)
    if(NOT other STREQUAL LANGUAGE)
      string(REGEX REPLACE "\n${other}:[^\n]*" "" text "${text}")
    endif()
  endforeach()
  string(REPLACE "\n${LANGUAGE}:" "\n" text "${text}")
  # The template's own comment at the top is not part of the page.
  string(REGEX REPLACE "^\n(\\.\\\\\"[^\n]*\n)*" "" text "${text}")
  string(CONFIGURE "${text}" text @ONLY)
  file(WRITE "${plain}" "${text}")
else()
  configure_file("${INPUT}" "${plain}" COPYONLY)
endif()
execute_process(COMMAND "${GZIP}" -9 -n -c "${plain}" OUTPUT_FILE "${OUTPUT}"
                COMMAND_ERROR_IS_FATAL ANY)
