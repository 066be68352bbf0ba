# The resource script of kalvet.exe: the calculator icon and a version record whose file and
# product version are the project's version ("1.00"). On Windows it is compiled into the
# program; elsewhere, when the tests are built, the icon and script are still produced so that
# the packaging checks can compile them with mingw-w64's windres.

if(WIN32)
  find_program(ICOTOOL icotool REQUIRED)
else()
  find_program(ICOTOOL icotool)
endif()

# One .ico with the sizes Windows asks for: small icons, the 32x32 window and desktop icon,
# and a 256-pixel PNG entry for large views.
set(KALVET_ICO_SIZES 16 32 48 256)
set(KALVET_ICO "${KALVET_ICON_DIR}/kalvet.ico")
set(ico_inputs "")
set(ico_pngs "")
foreach(size IN LISTS KALVET_ICO_SIZES)
  if(size EQUAL 32)
    set(png "${KALVET_ICON_DIR}/kalvet.png") # already rendered for the Qt resource
  else()
    set(png "${KALVET_ICON_DIR}/kalvet-${size}.png")
    kalvet_render_icon(kalvet ${size} "${png}")
  endif()
  if(size EQUAL 256)
    list(APPEND ico_inputs "--raw=${png}")
  else()
    list(APPEND ico_inputs "${png}")
  endif()
  list(APPEND ico_pngs "${png}")
endforeach()
if(ICOTOOL)
  add_custom_command(
    OUTPUT "${KALVET_ICO}"
    COMMAND "${ICOTOOL}" --create --output "${KALVET_ICO}" ${ico_inputs}
    DEPENDS ${ico_pngs}
    COMMENT "Packing the Windows icon kalvet.ico"
    VERBATIM)
endif()

# FILEVERSION and PRODUCTVERSION are four numbers: 1.00 becomes 1,0,0,0.
math(EXPR version_minor "${PROJECT_VERSION_MINOR} + 0")
set(KALVET_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${version_minor},0,0")
set(KALVET_RC "${CMAKE_CURRENT_BINARY_DIR}/kalvet.rc")
configure_file(kalvet.rc.in "${KALVET_RC}" @ONLY)
set_target_properties(kalvet PROPERTIES KALVET_RC "${KALVET_RC}" KALVET_ICO "${KALVET_ICO}")

if(WIN32)
  target_sources(kalvet PRIVATE "${KALVET_RC}" "${KALVET_ICO}")
  set_source_files_properties("${KALVET_RC}" PROPERTIES OBJECT_DEPENDS "${KALVET_ICO}")
  set_target_properties(kalvet PROPERTIES WIN32_EXECUTABLE ON)
elseif(KALVET_WITH_TESTS AND ICOTOOL)
  add_custom_target(kalvet_windows_icon ALL DEPENDS "${KALVET_ICO}")
endif()
