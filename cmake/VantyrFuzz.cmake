# The fuzz tests of the Linux build: the targets of tests/*/fuzz, built by
# the project tests/fuzz with Debian's clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), each run for a fixed time on its corpus of
# seeds (tests/*/fuzz/<name>_corpus for the target <name>_fuzz). A test passes when the fuzzer finds
# nothing; what it finds is in the test's output with the input that did it.
find_program(VANTYR_CLANG clang)
find_program(VANTYR_CLANGXX clang++)
set(vantyr_fuzz_build ${CMAKE_BINARY_DIR}/fuzz-build)

if(VANTYR_CLANG AND VANTYR_CLANGXX)
  include(ExternalProject)
  ExternalProject_Add(vantyr_fuzz
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tests/fuzz
    BINARY_DIR ${vantyr_fuzz_build}
    CMAKE_ARGS -DCMAKE_C_COMPILER=${VANTYR_CLANG} -DCMAKE_CXX_COMPILER=${VANTYR_CLANGXX}
               -DCMAKE_BUILD_TYPE=RelWithDebInfo
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")
endif()

# vantyr_fuzz_test(<test name> <target> <folder of its sources> SECONDS <s> [MAX_LEN <bytes>] [DICT <file>])
function(vantyr_fuzz_test name target folder)
  cmake_parse_arguments(F "" "SECONDS;MAX_LEN;DICT" "" ${ARGN})
  if(NOT VANTYR_CLANG OR NOT VANTYR_CLANGXX)
    add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "clang and clang++ are needed for the fuzz tests")
    set_tests_properties(${name} PROPERTIES LABELS fuzz WILL_FAIL ON)
    return()
  endif()
  if(NOT F_MAX_LEN)
    set(F_MAX_LEN 4096)
  endif()
  set(dict)
  if(F_DICT)
    set(dict -dict=${CMAKE_SOURCE_DIR}/${folder}/${F_DICT})
  endif()
  string(REGEX REPLACE "_fuzz$" "" stem ${target})
  set(run_dir ${CMAKE_BINARY_DIR}/fuzz-run/${target})
  file(MAKE_DIRECTORY ${run_dir}/corpus)
  # New inputs go to the run's own corpus; the seeds in the sources are only read.
  add_test(NAME ${name}
    COMMAND ${vantyr_fuzz_build}/${folder}/${target}
      -max_total_time=${F_SECONDS} -max_len=${F_MAX_LEN} -timeout=10 -close_fd_mask=1 -print_final_stats=1 ${dict}
      ${run_dir}/corpus ${CMAKE_SOURCE_DIR}/${folder}/${stem}_corpus
    WORKING_DIRECTORY ${run_dir})
  math(EXPR limit "${F_SECONDS} + 60")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${limit}
    ENVIRONMENT "VANTYR_DIALOGS=console")
endfunction()

# All of them together stay well under three minutes, even one after another.
vantyr_fuzz_test(forms_reader_fuzz form_reader_fuzz tests/forms/fuzz SECONDS 20 MAX_LEN 16384 DICT frm.dict)
vantyr_fuzz_test(forms_data_fuzz form_data_fuzz tests/forms/fuzz SECONDS 15)
vantyr_fuzz_test(common_command_line_fuzz command_line_fuzz tests/common/fuzz SECONDS 15 MAX_LEN 1024)
vantyr_fuzz_test(common_conversion_fuzz conversion_fuzz tests/common/fuzz SECONDS 15 MAX_LEN 512)
vantyr_fuzz_test(simulator_registry_fuzz registry_fuzz tests/simulator/fuzz SECONDS 15)
vantyr_fuzz_test(simulator_log_version_fuzz log_version_fuzz tests/simulator/fuzz SECONDS 15 MAX_LEN 1024)
vantyr_fuzz_test(app_listing_fuzz listing_fuzz tests/app/fuzz SECONDS 15)
