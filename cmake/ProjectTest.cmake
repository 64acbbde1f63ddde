# project_test(NAME source... LIBS lib...)
# One test executable is one ctest test: under Wine that is one Wine start per executable.
# Tests find the real game files through STRINDLE_REAL_DATA ("" when the folder is absent).
function(project_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LIBS")
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE test_support ${arg_LIBS})
    # GoogleTest's header is most of a test file's compile time: parse it once per program.
    target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <filesystem> <string> <vector>)
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 6)
    add_test(NAME ${name} COMMAND ${name})
endfunction()
