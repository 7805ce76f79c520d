# GoogleTest is built from Debian's sources so that it carries the same sanitizer as the code.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
endif()

set(TALVANE_TEST_DIR ${CMAKE_BINARY_DIR}/tests)

# talvane_test(NAME SOURCES ... LIBS ... [THREADED] [XVFB])
#   THREADED: the test exercises several threads and also runs in the ThreadSanitizer build,
#             where every other test is left out.
#   XVFB:     the test opens real windows and runs under xvfb-run.
function(talvane_test name)
    cmake_parse_arguments(T "THREADED;XVFB" "" "SOURCES;LIBS" ${ARGN})
    if(TALVANE_SANITIZE STREQUAL "thread" AND NOT T_THREADED)
        return()
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TALVANE_TEST_DIR})
    if(T_XVFB)
        add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1600x1000x24" $<TARGET_FILE:${name}>)
    else()
        add_test(NAME ${name} COMMAND ${name})
    endif()
    set(labels unit)
    if(T_THREADED)
        list(APPEND labels threaded)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 300
        ENVIRONMENT "TALVANE_SOURCE_DIR=${CMAKE_SOURCE_DIR};TALVANE_PROGRAM_DIR=${TALVANE_PROGRAM_DIR}")
endfunction()
