# dudovuvov_test(NAME <name> SOURCES <files...> LABELS <labels...> [LIBS <libs...>])
# Builds one QtTest program and registers it with CTest on the offscreen platform.
function(dudovuvov_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LABELS;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE dudovuvov_testsupport Qt6::Test ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${T_LABELS}"
    TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
