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

# velbrin_add_test(NAME SOURCES ... LIBRARIES ...): one GoogleTest executable, one
# ctest entry. Under the cross build ctest runs it through the emulator (wine).
function(velbrin_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES")
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
endfunction()
