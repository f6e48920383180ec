# Runs shellcheck over every shell file of the project: each file under
# scripts/, .ci/, tests/desktop/, tests/support/ and debian/tests/ that starts
# with a shell's #! line or names its shell for shellcheck.
#   cmake -DSOURCE=<top of the project> -P shellcheck.cmake
find_program(SHELLCHECK shellcheck)
if(NOT SHELLCHECK AND "$ENV{LABLIST_EXPECT_ALL}" STREQUAL "1")
    message(FATAL_ERROR "shellcheck is missing, and every check must run")
elseif(NOT SHELLCHECK)
    # The test's SKIP_REGULAR_EXPRESSION.
    message("Skipped: shellcheck is not installed")
    return()
endif()
file(GLOB_RECURSE candidates LIST_DIRECTORIES false RELATIVE ${SOURCE}
    ${SOURCE}/scripts/* ${SOURCE}/.ci/* ${SOURCE}/tests/desktop/* ${SOURCE}/tests/support/*
    ${SOURCE}/debian/tests/*)
set(files)
foreach(file IN LISTS candidates)
    file(STRINGS ${SOURCE}/${file} first LIMIT_COUNT 1)
    if(first MATCHES "^#!(/usr/bin/env |/bin/)(ba)?sh$|^# shellcheck shell=")
        list(APPEND files ${file})
    endif()
endforeach()
list(LENGTH files count)
message("shellcheck: ${count} files")
execute_process(COMMAND ${SHELLCHECK} -x ${files} WORKING_DIRECTORY ${SOURCE} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "shellcheck found faults")
endif()
