find_package(GTest REQUIRED)

# zelvan_add_test(<name> <source>... LIBS <libraries>... [LABELS <labels>...]): one GoogleTest program,
# registered with CTest (labelled, for example "slow", when LABELS are given).
function(zelvan_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    zelvan_set_warnings(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zelvan_test_support GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE
        ZELVAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        ZELVAN_SHARED_BANKFILE="${PROJECT_SOURCE_DIR}/../shared/bankdata/bundesbank-format-20201207.txt")
    if(ARG_LABELS)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 300)
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30)
    endif()
endfunction()

# zelvan_add_qt_test(<name> <source>... LIBS <libraries>...): one QtTest program on the offscreen platform.
function(zelvan_add_qt_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    zelvan_set_warnings(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zelvan_test_support Qt6::Test)
    target_compile_definitions(${name} PRIVATE ZELVAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
