# Run by orvanta_test after each build of a test binary: lists its GoogleTest
# suites and writes one CTest test per suite into CTEST_FILE. A suite's cases
# share one process and one temporary home (run-isolated.sh); starting a
# sanitizer-built binary costs far more than most cases, so one process per
# suite keeps the whole run short while a failure still names its suite.
#
# Inputs: EXECUTABLE, EMULATOR (run-isolated.sh), NAME (the binary's name, the
# tests' prefix), CTEST_FILE, LABELS (";"-separated, may be empty).
execute_process(
    COMMAND ${EMULATOR} ${EXECUTABLE} --gtest_list_tests
    OUTPUT_VARIABLE listing
    RESULT_VARIABLE result
    TIMEOUT 60)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${EXECUTABLE} --gtest_list_tests failed (${result}):\n${listing}")
endif()

string(REPLACE "\n" ";" lines "${listing}")
set(script "")
foreach(line IN LISTS lines)
    # Suite lines start in the first column and end in "." (a parameterised or
    # typed suite adds "  # TypeParam = ..." after it); case lines are indented.
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
        set(suite "${CMAKE_MATCH_1}")
        set(test "${NAME}/${suite}")
        string(APPEND script
            "add_test([==[${test}]==] [==[${EMULATOR}]==] [==[${EXECUTABLE}]==] [==[--gtest_filter=${suite}.*]==])\n")
        if(LABELS)
            string(APPEND script "set_tests_properties([==[${test}]==] PROPERTIES LABELS [==[${LABELS}]==])\n")
        endif()
    endif()
endforeach()
file(WRITE "${CTEST_FILE}" "${script}")
