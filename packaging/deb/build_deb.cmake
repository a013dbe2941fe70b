# Makes the Debian package from the built programs:
#   cmake -DOUTPUT=<.deb> -DSTAGE=<scratch folder> -DSOURCE=<packaging/deb>
#         -DPROGRAM=<vantyr> -DFORM_TOOL=<vantyr-form> -DFORM=<Vantyr_form.frm>
#         -DICONS=<built hicolor folder> -DSTRIP=<strip> -DVERSION=<version>
#         -DARCH=<Debian architecture> -DMAINTAINER=<name and address>
#         -P build_deb.cmake
#
# The tree: /opt/vantyr holds the programs (stripped), the form definition
# and the menu's wrapper; /usr/bin/vantyr and /usr/bin/vantyr-form link to
# them (relative links: the unpacked tree works where it lies); the menu
# entry and the icon theme under /usr/share; copyright and changelog under
# /usr/share/doc/vantyr. The dependencies on libraries come from the
# programs themselves, through dpkg-shlibdeps.
cmake_minimum_required(VERSION 3.20)

foreach(v OUTPUT STAGE SOURCE PROGRAM FORM_TOOL FORM ICONS STRIP VERSION ARCH MAINTAINER)
  if(NOT DEFINED ${v} OR "${${v}}" STREQUAL "")
    message(FATAL_ERROR "build_deb.cmake: ${v} is not given")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(REPLACE ";" " " line "${ARGN}")
    message(FATAL_ERROR "${line} failed (${rc}):\n${out}${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

set(root ${STAGE}/root)
set(opt ${root}/opt/vantyr)
set(doc ${root}/usr/share/doc/vantyr)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${opt} ${root}/usr/bin ${root}/usr/share/applications ${doc} ${root}/DEBIAN)

run(${STRIP} --strip-all -o ${opt}/vantyr ${PROGRAM})
run(${STRIP} --strip-all -o ${opt}/vantyr-form ${FORM_TOOL})
file(COPY ${FORM} ${SOURCE}/vantyr-menu DESTINATION ${opt})
file(CREATE_LINK ../../opt/vantyr/vantyr ${root}/usr/bin/vantyr SYMBOLIC)
file(CREATE_LINK ../../opt/vantyr/vantyr-form ${root}/usr/bin/vantyr-form SYMBOLIC)
file(COPY ${SOURCE}/vantyr.desktop DESTINATION ${root}/usr/share/applications)
file(COPY ${ICONS} DESTINATION ${root}/usr/share/icons)
file(COPY ${SOURCE}/copyright DESTINATION ${doc})
# A native package keeps its changelog as changelog.gz, compressed without
# a name or time stamp.
execute_process(COMMAND gzip -9nc ${SOURCE}/changelog OUTPUT_FILE ${doc}/changelog.gz RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip of the changelog failed")
endif()

# Owned by root (dpkg-deb --root-owner-group), writable by root alone.
file(CHMOD_RECURSE ${root} DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(GLOB_RECURSE files LIST_DIRECTORIES false ${root}/*)
foreach(f IN LISTS files)
  if(NOT IS_SYMLINK ${f})
    file(CHMOD ${f} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
foreach(exe vantyr vantyr-form vantyr-menu)
  file(CHMOD ${opt}/${exe} PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()

# The libraries' packages, as dpkg-shlibdeps finds them; it wants a
# debian/control naming the package, in the folder it runs in.
file(WRITE ${STAGE}/shlibs/debian/control "Source: vantyr\n\nPackage: vantyr\nArchitecture: any\n")
execute_process(COMMAND dpkg-shlibdeps -O ${opt}/vantyr ${opt}/vantyr-form
  WORKING_DIRECTORY ${STAGE}/shlibs RESULT_VARIABLE rc OUTPUT_VARIABLE substvars ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT substvars MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps failed (${rc}): ${substvars}${err}")
endif()
# fonts-liberation stands in for Arial and Courier New; zenity shows the
# program's messages and choosers, and a menu start has no console.
set(DEPENDS "${CMAKE_MATCH_1}, fonts-liberation, zenity")

# Installed-Size as dpkg-gencontrol counts it: KiB per file, rounded up.
set(kib 0)
file(GLOB_RECURSE files LIST_DIRECTORIES true ${root}/*)
foreach(f IN LISTS files)
  if(IS_DIRECTORY ${f} OR IS_SYMLINK ${f})
    math(EXPR kib "${kib} + 1")
  else()
    file(SIZE ${f} size)
    math(EXPR kib "${kib} + (${size} + 1023) / 1024")
  endif()
endforeach()
set(INSTALLED_SIZE ${kib})

configure_file(${SOURCE}/control.in ${root}/DEBIAN/control @ONLY)

# md5sums of every regular file, as dpkg --verify reads them.
set(md5sums "")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(SORT files)
foreach(f IN LISTS files)
  if(f MATCHES "^DEBIAN/" OR IS_SYMLINK ${root}/${f})
    continue()
  endif()
  file(MD5 ${root}/${f} sum)
  string(APPEND md5sums "${sum}  ${f}\n")
endforeach()
file(WRITE ${root}/DEBIAN/md5sums "${md5sums}")
file(CHMOD ${root}/DEBIAN/control ${root}/DEBIAN/md5sums PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

file(REMOVE ${OUTPUT})
run(dpkg-deb --root-owner-group --build ${root} ${OUTPUT})
message(STATUS "Debian package: ${OUTPUT}")
