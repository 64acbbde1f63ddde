# project_test(NAME source... LIBS lib...)
# One test executable is one ctest test: under Wine that is one Wine start per executable.
# Tests find the real game files through STRINDLE_REAL_DATA ("" when the folder is absent).
function(project_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LIBS")
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE test_support ${arg_LIBS})
    target_precompile_headers(${name} REUSE_FROM test_support)
    target_compile_options(${name} PRIVATE ${STRINDLE_TEST_CODE_OPTIONS})
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 6)
    add_test(NAME ${name} COMMAND ${name})
endfunction()
