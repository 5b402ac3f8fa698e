# GoogleTest for native builds comes from Debian's libgtest-dev; the Windows cross
# build compiles the same sources (Debian's googletest package) with mingw-w64.
if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # googletest's own list file already defines GTest::gtest and GTest::gtest_main.
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# velbrin_add_test(NAME SOURCES ... LIBRARIES ... [ENVIRONMENT ...] [MAIN]): one
# GoogleTest executable whose cases ctest lists one by one. The cases are read
# from the executable when ctest runs (under the cross build through the
# emulator, wine), so building never starts it. MAIN: the sources bring their
# own main(). A case that hangs (a browser that stopped answering) fails after
# five minutes.
function(velbrin_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "MAIN" "" "SOURCES;LIBRARIES;ENVIRONMENT")
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest)
    if(NOT arg_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_PREFIX ${name}.
                         PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}" TIMEOUT 300)
endfunction()
