# The documents of the Debian package, in /usr/share/doc/kalvet and /usr/share/man: the
# machine-readable copyright file, the changelog and the manual page kalvet(1) in Czech and
# English, both rendered from the one template kalvet.1.in. Compressed files are made at
# build time by render.cmake; the target kalvet_doc builds them.

find_program(GZIP gzip REQUIRED)
set(doc_source "${CMAKE_CURRENT_LIST_DIR}")
set(doc_dir "${CMAKE_CURRENT_BINARY_DIR}/doc")

# The copyright file carries the licence text of LICENSE, laid out as a DEP-5 field: each line
# indented by one space, an empty line written as " .".
file(READ "${PROJECT_SOURCE_DIR}/LICENSE" license)
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" license "${license}")
string(STRIP "${license}" license)
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REGEX REPLACE "\n" "\n " KALVET_LICENSE_DEP5 " ${license}")
configure_file("${doc_source}/copyright.in" "${doc_dir}/copyright" @ONLY)

# The date of the manual pages is that of the source (see KalvetReproducible).
string(TIMESTAMP KALVET_MAN_DATE "%Y-%m-%d" UTC)
set(man_languages cs en)
list(JOIN man_languages "," man_languages_arg)
set(doc_files "")
foreach(language IN LISTS man_languages)
  set(page "${doc_dir}/man/${language}/kalvet.1.gz")
  add_custom_command(
    OUTPUT "${page}"
    COMMAND "${CMAKE_COMMAND}" -D "INPUT=${doc_source}/kalvet.1.in" -D "OUTPUT=${page}"
            -D "GZIP=${GZIP}" -D "LANGUAGE=${language}" -D "LANGUAGES=${man_languages_arg}"
            -D "KALVET_MAN_DATE=${KALVET_MAN_DATE}" -D "PROJECT_VERSION=${PROJECT_VERSION}"
            -P "${doc_source}/render.cmake"
    DEPENDS "${doc_source}/kalvet.1.in" "${doc_source}/render.cmake"
    COMMENT "Rendering the manual page kalvet(1) in language ${language}"
    VERBATIM)
  list(APPEND doc_files "${page}")
  if(language STREQUAL "en")
    install(FILES "${page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
  else()
    install(FILES "${page}" DESTINATION "${CMAKE_INSTALL_MANDIR}/${language}/man1")
  endif()
endforeach()

set(changelog "${doc_dir}/changelog.gz")
add_custom_command(
  OUTPUT "${changelog}"
  COMMAND "${CMAKE_COMMAND}" -D "INPUT=${doc_source}/changelog" -D "OUTPUT=${changelog}"
          -D "GZIP=${GZIP}" -P "${doc_source}/render.cmake"
  DEPENDS "${doc_source}/changelog" "${doc_source}/render.cmake"
  COMMENT "Compressing the changelog"
  VERBATIM)
list(APPEND doc_files "${changelog}")
add_custom_target(kalvet_doc ALL DEPENDS ${doc_files})

install(FILES "${doc_dir}/copyright" "${changelog}" DESTINATION "${CMAKE_INSTALL_DOCDIR}")
