# vantyr_test(<name> LABELS <labels...> SOURCES <files...> LIBS <libs...>
#             [TIMEOUT <seconds>] [ARGS <arguments...>])
#
# One GoogleTest executable per test group. On the Windows build the label
# "wine" is added: ctest runs it through the Wine wrapper.
function(vantyr_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "LABELS;SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_compile_options(${name} PRIVATE ${VANTYR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set(labels ${T_LABELS})
  set(test_name ${name})
  set(src_dir ${CMAKE_SOURCE_DIR})
  set(bin_dir ${CMAKE_BINARY_DIR})
  if(CMAKE_CROSSCOMPILING)
    # Under Wine the folders are named as Windows sees them, on drive Z:.
    list(APPEND labels wine)
    set(test_name wine.${name})
    set(src_dir "Z:${CMAKE_SOURCE_DIR}")
    set(bin_dir "Z:${CMAKE_BINARY_DIR}")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${test_name} COMMAND ${name} ${T_ARGS})
  set_tests_properties(${test_name} PROPERTIES LABELS "${labels}" TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "VANTYR_DIALOGS=console;VANTYR_SOURCE_DIR=${src_dir};VANTYR_BINARY_DIR=${bin_dir}")
endfunction()
