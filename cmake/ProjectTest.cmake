# project_test(NAME source... LIBS lib...)
# One test executable is one ctest test: under Wine that is one Wine start per executable.
# Tests find the real game files through STRINDLE_REAL_DATA ("" when the folder is absent).
function(project_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LIBS")
    add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE test_support ${arg_LIBS})
    add_test(NAME ${name} COMMAND ${name})
endfunction()
