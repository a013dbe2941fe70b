# Writes the _NET_WM_ICON data of the program's icon as a C++ header.
#   cmake -DCONVERT=<ImageMagick convert> -DSIZES=<n;...> -DPNGS=<png;...>
#         -DWORK=<folder for raw pixels> -DOUTPUT=<header> -P VantyrIconArgb.cmake
# Each PNG of size n x n becomes n, n and its n*n pixels as 0xAARRGGBB, not
# premultiplied, rows from the top, as the X11 property wants them.

list(LENGTH SIZES _sizes)
list(LENGTH PNGS _pngs)
if(_sizes EQUAL 0 OR NOT _sizes EQUAL _pngs)
  message(FATAL_ERROR "icon header: SIZES (${SIZES}) and PNGS (${PNGS}) do not match")
endif()
file(MAKE_DIRECTORY "${WORK}")

set(_body "")
foreach(size png IN ZIP_LISTS SIZES PNGS)
  set(raw "${WORK}/vantyr-${size}.rgba")
  execute_process(COMMAND "${CONVERT}" "${png}" -depth 8 "rgba:${raw}"
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "icon header: convert failed on ${png}: ${err}")
  endif()
  file(READ "${raw}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR expected "${size} * ${size} * 8")
  if(NOT digits EQUAL expected)
    message(FATAL_ERROR "icon header: ${png} gave ${digits} hex digits of pixels, not ${expected} (${size}x${size} RGBA)")
  endif()
  # RRGGBBAA -> 0xAARRGGBB, eight pixels a line.
  string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\1\\2\\3u, " px "${hex}")
  string(REPEAT "0x........u, " 8 line)  # CMake's regular expressions have no {n}
  string(REGEX REPLACE "(${line})" "\\1\n    " px "${px}")
  string(APPEND _body "    // ${size} x ${size}\n    ${size}, ${size},\n    ${px}\n")
endforeach()
string(REGEX REPLACE " *\n( *\n)*" "\n" _body "${_body}")

file(WRITE "${OUTPUT}" "// Made at build time from app/icon/vantyr.svg (cmake/VantyrIconArgb.cmake): do not edit.
// The program's icon as _NET_WM_ICON takes it: per size its width, its height,
// then its pixels row by row from the top, 0xAARRGGBB, not premultiplied.
#pragma once

inline constexpr unsigned int vantyr_icon_argb[] = {
${_body}};
")
