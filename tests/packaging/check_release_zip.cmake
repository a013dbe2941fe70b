# Checks the Windows release zip:
#   cmake -DZIP=<zip> -DOBJDUMP=<x86_64-w64-mingw32-objdump> -DWORK=<scratch folder>
#         -P check_release_zip.cmake
# It must unpack to exactly the program, vantyr-form, the form definition and
# README.txt (no folders), README.txt must have Windows line ends and no
# placeholder left, and both programs may import only DLLs that every Windows
# has: a runtime DLL (libstdc++, libgcc, libwinpthread, FreeType) would be
# missing on the user's machine.
cmake_minimum_required(VERSION 3.20)

set(expected_files README.txt Vantyr.exe Vantyr_form.frm vantyr-form.exe)
# Windows' own DLLs, upper case. The API sets (api-ms-win-*) are Windows'
# too, whatever their name.
set(system_dlls
  KERNEL32.DLL USER32.DLL GDI32.DLL ADVAPI32.DLL SHELL32.DLL COMDLG32.DLL
  OLE32.DLL OPENGL32.DLL GLU32.DLL MSVCRT.DLL)

if(NOT EXISTS "${ZIP}")
  message(FATAL_ERROR "${ZIP} is missing: build the Windows build (target release_zip)")
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${ZIP}"
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${ZIP} does not unpack: ${err}")
endif()

set(failures "")

file(GLOB_RECURSE found RELATIVE "${WORK}" LIST_DIRECTORIES true "${WORK}/*")
list(SORT found)
list(SORT expected_files)
if(NOT found STREQUAL expected_files)
  string(APPEND failures "the zip holds [${found}], not [${expected_files}]\n")
endif()

if(EXISTS "${WORK}/README.txt")
  # Read as bytes: file(READ) as text drops the CRs. Every LF must follow
  # a CR, and no CR may stand alone.
  file(READ "${WORK}/README.txt" hex HEX)
  string(REGEX REPLACE "(..)" " \\1" bytes "${hex}")
  string(REPLACE " 0d 0a" "" bare "${bytes}")
  if(hex STREQUAL "" OR bare MATCHES " 0[ad]")
    string(APPEND failures "README.txt is empty or has line ends other than CR LF\n")
  endif()
  file(READ "${WORK}/README.txt" readme)
  if(readme MATCHES "@[A-Za-z_]+@")
    string(APPEND failures "README.txt still holds the placeholder ${CMAKE_MATCH_0}\n")
  endif()
endif()

foreach(exe Vantyr.exe vantyr-form.exe)
  if(NOT EXISTS "${WORK}/${exe}")
    continue()
  endif()
  execute_process(COMMAND "${OBJDUMP}" -p "${WORK}/${exe}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE dump ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(APPEND failures "${OBJDUMP} -p ${exe} failed: ${err}\n")
    continue()
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
  set(dlls "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
    string(STRIP "${dll}" dll)
    list(APPEND dlls "${dll}")
  endforeach()
  message(STATUS "${exe} imports: ${dlls}")
  # Every Windows program imports KERNEL32: none found means the dump was
  # not read right, not that the program is clean.
  if(dlls STREQUAL "")
    string(APPEND failures "${exe}: no imported DLL found in the output of objdump -p\n")
  endif()
  foreach(dll IN LISTS dlls)
    string(TOUPPER "${dll}" upper)
    if(NOT upper IN_LIST system_dlls AND NOT upper MATCHES "^API-MS-WIN-")
      string(APPEND failures "${exe} imports ${dll}, which is not a Windows system DLL\n")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "${ZIP}:\n${failures}")
endif()
message(STATUS "${ZIP}: ${found}")
