# The resources compiled into kalvet.exe: the calculator icon, the application manifest and a
# version record whose file and product version are the project's version ("1.00"). The icon
# is packed by icoutils' icotool and ImageMagick's convert, run on the build machine.

find_program(ICOTOOL icotool REQUIRED)
find_program(MAGICK_CONVERT convert REQUIRED)
find_program(KALVET_PYTHON3 python3 REQUIRED)

# One .ico with the sizes Windows asks for: small icons, the 32x32 window and desktop icon,
# and a 256-pixel PNG entry for large views. Beside the true-colour 32x32 image it has the
# same picture in 256 colours (8 bits, with a 1-bit transparency mask).
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
  if(NOT size EQUAL 256)
    list(APPEND ico_inputs "${png}")
  endif()
  list(APPEND ico_pngs "${png}")
endforeach()
# icotool picks the colour depth from the picture and would store this one, which has few
# colours, in 16; so it gets an .ico of its own, made with 8 bits, and the three are joined
# with the PNG entry last, where icotool itself puts it.
set(ico_truecolour "${KALVET_ICON_DIR}/kalvet-truecolour.ico")
set(ico_256colours "${KALVET_ICON_DIR}/kalvet-256colours.ico")
set(ico_large "${KALVET_ICON_DIR}/kalvet-large.ico")
set(png_8bit "${KALVET_ICON_DIR}/kalvet-32-256colours.png")
add_custom_command(
  OUTPUT "${KALVET_ICO}"
  COMMAND "${ICOTOOL}" --create --output "${ico_truecolour}" ${ico_inputs}
  COMMAND "${MAGICK_CONVERT}" "${KALVET_ICON_DIR}/kalvet.png" -channel A -threshold 50% +channel
          -colors 256 "PNG8:${png_8bit}"
  COMMAND "${ICOTOOL}" --create --bit-depth=8 --output "${ico_256colours}" "${png_8bit}"
  COMMAND "${ICOTOOL}" --create --output "${ico_large}" "--raw=${KALVET_ICON_DIR}/kalvet-256.png"
  COMMAND "${KALVET_PYTHON3}" "${CMAKE_CURRENT_SOURCE_DIR}/merge-ico.py" "${KALVET_ICO}"
          "${ico_truecolour}" "${ico_256colours}" "${ico_large}"
  DEPENDS ${ico_pngs} merge-ico.py
  COMMENT "Packing the Windows icon kalvet.ico"
  VERBATIM)

# FILEVERSION and PRODUCTVERSION are four numbers: 1.00 becomes 1,0,0,0.
math(EXPR version_minor "${PROJECT_VERSION_MINOR} + 0")
set(KALVET_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${version_minor},0,0")
# The manifest's assembly version is the same four numbers, with dots.
string(REPLACE "," "." KALVET_VERSION_DOTS "${KALVET_VERSION_COMMAS}")
set(KALVET_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/kalvet.manifest")
configure_file(kalvet.manifest.in "${KALVET_MANIFEST}" @ONLY)
set(KALVET_RC "${CMAKE_CURRENT_BINARY_DIR}/kalvet.rc")
configure_file(kalvet.rc.in "${KALVET_RC}" @ONLY)
target_sources(kalvet PRIVATE "${KALVET_RC}" "${KALVET_ICO}")
set_source_files_properties("${KALVET_RC}" PROPERTIES
  OBJECT_DEPENDS "${KALVET_ICO};${KALVET_MANIFEST}")
# A GUI program: no console window opens beside it.
set_target_properties(kalvet PROPERTIES WIN32_EXECUTABLE ON)
