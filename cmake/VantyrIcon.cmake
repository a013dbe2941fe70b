# The program's icon. One drawing, app/icon/vantyr.svg, is made at build time
# into what each use needs, in ${CMAKE_BINARY_DIR}/icon/:
#   - vantyr_icon_argb.h: the _NET_WM_ICON data (16, 32, 48) for the X11
#     window, through the INTERFACE target vantyr_icon_argb;
#   - Linux: the icon theme's hicolor/<N>x<N>/apps/vantyr.png and
#     hicolor/scalable/apps/vantyr.svg, for the package (target vantyr_icon_theme);
#   - Windows: vantyr.ico compiled into resource 999 by the OBJECT library
#     vantyr_icon_resource, which executables link.
# PNGs come from rsvg-convert, raw pixels and the .ico from ImageMagick; the
# header is written by a CMake script, as no host tool is compiled when the
# Windows build is cross-compiled.

set(VANTYR_ICON_SVG ${CMAKE_SOURCE_DIR}/app/icon/vantyr.svg)
set(VANTYR_ICON_DIR ${CMAKE_BINARY_DIR}/icon)

find_program(VANTYR_RSVG_CONVERT rsvg-convert)
if(VANTYR_RSVG_CONVERT)
  execute_process(COMMAND ${VANTYR_RSVG_CONVERT} --version
    OUTPUT_VARIABLE _vantyr_rsvg_version RESULT_VARIABLE _vantyr_rsvg_rc ERROR_QUIET)
endif()
if(NOT VANTYR_RSVG_CONVERT OR NOT _vantyr_rsvg_rc EQUAL 0 OR NOT _vantyr_rsvg_version MATCHES "rsvg-convert")
  message(FATAL_ERROR "rsvg-convert not found (VANTYR_RSVG_CONVERT='${VANTYR_RSVG_CONVERT}'): "
    "the program's icon is drawn with it (Debian package librsvg2-bin)")
endif()
# Debian's own name of the command first: a "convert" earlier on PATH may be
# another program of that name.
find_program(VANTYR_IMAGEMAGICK_CONVERT NAMES convert-im6.q16 convert)
if(VANTYR_IMAGEMAGICK_CONVERT)
  execute_process(COMMAND ${VANTYR_IMAGEMAGICK_CONVERT} -version
    OUTPUT_VARIABLE _vantyr_convert_version RESULT_VARIABLE _vantyr_convert_rc ERROR_QUIET)
endif()
if(NOT VANTYR_IMAGEMAGICK_CONVERT OR NOT _vantyr_convert_rc EQUAL 0
   OR NOT _vantyr_convert_version MATCHES "ImageMagick")
  message(FATAL_ERROR "ImageMagick's convert not found (VANTYR_IMAGEMAGICK_CONVERT='${VANTYR_IMAGEMAGICK_CONVERT}'): "
    "the program's icon is made with it (Debian package imagemagick)")
endif()

# Sizes: _NET_WM_ICON, the Windows .ico, the Linux icon theme.
set(VANTYR_ICON_ARGB_SIZES 16 32 48)
set(VANTYR_ICON_ICO_SIZES 16 32 48 256)
set(VANTYR_ICON_THEME_SIZES 16 22 24 32 48 64 128 256)

# Where the PNG of a size goes: on Linux straight into the icon theme.
function(vantyr_icon_png_path size out_var)
  if(WIN32)
    set(${out_var} ${VANTYR_ICON_DIR}/png/vantyr-${size}.png PARENT_SCOPE)
  else()
    set(${out_var} ${VANTYR_ICON_DIR}/hicolor/${size}x${size}/apps/vantyr.png PARENT_SCOPE)
  endif()
endfunction()

if(WIN32)
  set(_vantyr_png_sizes ${VANTYR_ICON_ICO_SIZES})
else()
  set(_vantyr_png_sizes ${VANTYR_ICON_THEME_SIZES})
endif()
foreach(size IN LISTS _vantyr_png_sizes)
  vantyr_icon_png_path(${size} png)
  get_filename_component(png_dir ${png} DIRECTORY)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${png_dir}
    COMMAND ${VANTYR_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${VANTYR_ICON_SVG}
    DEPENDS ${VANTYR_ICON_SVG}
    COMMENT "Icon, ${size} pixels"
    VERBATIM)
endforeach()

# The _NET_WM_ICON header.
set(VANTYR_ICON_ARGB_HEADER ${VANTYR_ICON_DIR}/vantyr_icon_argb.h)
set(_vantyr_argb_pngs)
foreach(size IN LISTS VANTYR_ICON_ARGB_SIZES)
  vantyr_icon_png_path(${size} png)
  list(APPEND _vantyr_argb_pngs ${png})
endforeach()
add_custom_command(OUTPUT ${VANTYR_ICON_ARGB_HEADER}
  COMMAND ${CMAKE_COMMAND}
    "-DCONVERT=${VANTYR_IMAGEMAGICK_CONVERT}"
    "-DSIZES=${VANTYR_ICON_ARGB_SIZES}"
    "-DPNGS=${_vantyr_argb_pngs}"
    "-DWORK=${VANTYR_ICON_DIR}/rgba"
    "-DOUTPUT=${VANTYR_ICON_ARGB_HEADER}"
    -P ${CMAKE_SOURCE_DIR}/cmake/VantyrIconArgb.cmake
  DEPENDS ${_vantyr_argb_pngs} ${CMAKE_SOURCE_DIR}/cmake/VantyrIconArgb.cmake
  COMMENT "Icon pixels for _NET_WM_ICON"
  VERBATIM)
add_custom_target(vantyr_icon_header DEPENDS ${VANTYR_ICON_ARGB_HEADER})

# Users include "vantyr_icon_argb.h"; linking this makes it exist first.
add_library(vantyr_icon_argb INTERFACE)
target_include_directories(vantyr_icon_argb INTERFACE ${VANTYR_ICON_DIR})
add_dependencies(vantyr_icon_argb vantyr_icon_header)

if(WIN32)
  enable_language(RC)
  set(VANTYR_ICON_ICO ${VANTYR_ICON_DIR}/vantyr.ico)
  set(_vantyr_ico_pngs)
  foreach(size IN LISTS VANTYR_ICON_ICO_SIZES)
    vantyr_icon_png_path(${size} png)
    list(APPEND _vantyr_ico_pngs ${png})
  endforeach()
  add_custom_command(OUTPUT ${VANTYR_ICON_ICO}
    COMMAND ${VANTYR_IMAGEMAGICK_CONVERT} ${_vantyr_ico_pngs} ${VANTYR_ICON_ICO}
    DEPENDS ${_vantyr_ico_pngs}
    COMMENT "Icon for Windows (vantyr.ico)"
    VERBATIM)
  add_custom_target(vantyr_icon_ico DEPENDS ${VANTYR_ICON_ICO})

  # Resource 999 is the program's icon; written only when it changes.
  set(_vantyr_rc ${VANTYR_ICON_DIR}/vantyr.rc)
  file(CONFIGURE OUTPUT ${_vantyr_rc} CONTENT "// The program's icon (made from app/icon/vantyr.svg).\n999 ICON \"${VANTYR_ICON_ICO}\"\n")
  add_library(vantyr_icon_resource OBJECT ${_vantyr_rc})
  set_source_files_properties(${_vantyr_rc} PROPERTIES OBJECT_DEPENDS ${VANTYR_ICON_ICO})
  add_dependencies(vantyr_icon_resource vantyr_icon_ico)
else()
  set(_vantyr_theme_files)
  foreach(size IN LISTS VANTYR_ICON_THEME_SIZES)
    vantyr_icon_png_path(${size} png)
    list(APPEND _vantyr_theme_files ${png})
  endforeach()
  set(_vantyr_theme_svg ${VANTYR_ICON_DIR}/hicolor/scalable/apps/vantyr.svg)
  add_custom_command(OUTPUT ${_vantyr_theme_svg}
    COMMAND ${CMAKE_COMMAND} -E copy ${VANTYR_ICON_SVG} ${_vantyr_theme_svg}
    DEPENDS ${VANTYR_ICON_SVG}
    COMMENT "Icon, scalable"
    VERBATIM)
  list(APPEND _vantyr_theme_files ${_vantyr_theme_svg})
  add_custom_target(vantyr_icon_theme ALL DEPENDS ${_vantyr_theme_files})
endif()
