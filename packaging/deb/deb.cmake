# The Debian package of the Linux build, vantyr_<version>_<arch>.deb in the
# build folder (target deb, part of the build). build_deb.cmake makes it.

find_program(VANTYR_DPKG dpkg REQUIRED)
execute_process(COMMAND ${VANTYR_DPKG} --print-architecture
  OUTPUT_VARIABLE VANTYR_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(VANTYR_DEB_MAINTAINER "Vantyr maintainers <maintainers@users.noreply.c-seed-434c582d.example>"
  CACHE STRING "Maintainer field of the Debian package")
set(VANTYR_DEB ${CMAKE_BINARY_DIR}/vantyr_${PROJECT_VERSION}_${VANTYR_DEB_ARCH}.deb)
set(_deb_src ${CMAKE_CURRENT_SOURCE_DIR}/deb)
set(_deb_form ${CMAKE_SOURCE_DIR}/app/Vantyr_form.frm)

add_custom_command(OUTPUT ${VANTYR_DEB}
  COMMAND ${CMAKE_COMMAND}
    -DOUTPUT=${VANTYR_DEB}
    -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/deb
    -DSOURCE=${_deb_src}
    -DPROGRAM=$<TARGET_FILE:vantyr>
    -DFORM_TOOL=$<TARGET_FILE:vantyr-form>
    -DFORM=${_deb_form}
    -DICONS=${VANTYR_ICON_DIR}/hicolor
    -DSTRIP=${CMAKE_STRIP}
    -DVERSION=${PROJECT_VERSION}
    -DARCH=${VANTYR_DEB_ARCH}
    "-DMAINTAINER=${VANTYR_DEB_MAINTAINER}"
    -P ${_deb_src}/build_deb.cmake
  DEPENDS vantyr vantyr-form vantyr_icon_theme ${_deb_form} ${VANTYR_ICON_SVG}
    ${_deb_src}/build_deb.cmake ${_deb_src}/control.in ${_deb_src}/vantyr.desktop
    ${_deb_src}/vantyr-menu ${_deb_src}/copyright ${_deb_src}/changelog
  COMMENT "Debian package: ${VANTYR_DEB}"
  VERBATIM)
add_custom_target(deb ALL DEPENDS ${VANTYR_DEB})
set(VANTYR_DEB ${VANTYR_DEB} PARENT_SCOPE)
