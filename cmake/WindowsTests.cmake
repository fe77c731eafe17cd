# Windows tests run under Wine in prefixes of their own under the build folder, never the
# user's: one with Wine's null display driver for the window tests, one with the X11
# driver for the real program under Xvfb. Each is a copy of one base prefix, made once.
# The test framework is not part of the release archive.
set(INSTALL_GTEST OFF)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(wine_env WINEDEBUG=-all LC_ALL=zh_TW.UTF-8)
# A prefix runs 32-bit and 64-bit programs alike, so the i686 build may use the x86-64
# build's prefixes and not make more (scripts/test.sh runs the two one after the other;
# two runs at once in the same prefixes would disturb each other).
set(VELTRANE_WINE_PREFIXES ${CMAKE_BINARY_DIR} CACHE PATH "Folder that holds the test Wine prefixes")
set(wine_prefix_script ${CMAKE_SOURCE_DIR}/tests/e2e/wine-prefix.sh)
set(wine_base ${VELTRANE_WINE_PREFIXES}/wine-base)

add_test(NAME wine_base_prefix COMMAND ${wine_prefix_script} base ${wine_base})
set_tests_properties(wine_base_prefix PROPERTIES FIXTURES_SETUP wine_base)

# A test fixture that prepares the prefix wine-NAME (NAME is the driver's unless given)
# and ends its Wine server afterwards; the tests that name it run in that prefix.
function(add_wine_prefix driver)
    set(name ${driver})
    if(ARGC GREATER 1)
        set(name ${ARGV1})
    endif()
    set(prefix ${VELTRANE_WINE_PREFIXES}/wine-${name})
    add_test(NAME wine_${name}_prefix COMMAND ${wine_prefix_script} start ${prefix} ${driver} ${wine_base})
    add_test(NAME wine_${name}_prefix_stop COMMAND ${wine_prefix_script} stop ${prefix})
    set_tests_properties(wine_${name}_prefix PROPERTIES FIXTURES_SETUP wine_${name} FIXTURES_REQUIRED wine_base)
    set_tests_properties(wine_${name}_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_${name})
endfunction()

function(run_in_wine_prefix test name)
    set_tests_properties(${test} PROPERTIES
        FIXTURES_REQUIRED wine_${name}
        ENVIRONMENT "WINEPREFIX=${VELTRANE_WINE_PREFIXES}/wine-${name};${wine_env}")
endfunction()

add_wine_prefix(null)
add_wine_prefix(x11)
# Its own fonts, generated, would change the rows of the tests in the x11 prefix.
add_wine_prefix(x11 hostile)
# The console program's links would show in the other prefixes' windows.
add_wine_prefix(x11 console)

add_executable(veltrane_win_tests
    tests/win32/TestMain.cpp
    tests/win32/ModalScript.cpp
    tests/win32/MainDialogTest.cpp
    tests/win32/HelpTest.cpp
    tests/win32/LinksTest.cpp
    tests/win32/HostileRegistryTest.cpp
    tests/win32/PaintingTest.cpp
    tests/win32/ResourcesTest.cpp
    tests/win32/UniqueHandleTest.cpp
    $<TARGET_OBJECTS:veltrane_res>
)
target_link_libraries(veltrane_win_tests PRIVATE veltrane_win gtest version)
add_test(NAME veltrane_win_tests COMMAND veltrane_win_tests)
run_in_wine_prefix(veltrane_win_tests null)

# The real program, driven from outside.
add_executable(drive tests/e2e/Drive.cpp)
target_include_directories(drive PRIVATE src res)

add_test(NAME close_ways
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/close-ways.sh $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>)
run_in_wine_prefix(close_ways null)

add_test(NAME main_window_screenshot
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/screenshot.sh $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>
            ${CMAKE_BINARY_DIR}/screenshots/main-window.png)
run_in_wine_prefix(main_window_screenshot x11)

add_test(NAME links
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/links.sh $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>
            ${CMAKE_BINARY_DIR}/screenshots/links)
run_in_wine_prefix(links x11)

add_test(NAME painting
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/painting.sh $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>
            ${CMAKE_BINARY_DIR}/screenshots/painting)
run_in_wine_prefix(painting x11)

add_test(NAME keyboard_and_about
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/keyboard-and-about.sh $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>
            ${CMAKE_BINARY_DIR}/screenshots)
run_in_wine_prefix(keyboard_and_about x11)

add_test(NAME hostile_font_names
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/hostile-names.sh $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>
            ${CMAKE_BINARY_DIR}/screenshots/hostile-names)
run_in_wine_prefix(hostile_font_names hostile)

# The console program, run with no display at all.
add_test(NAME console COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/console.sh $<TARGET_FILE:eudclink>)
run_in_wine_prefix(console console)

# Every path a user can take through the real programs: `ctest -L e2e`.
set_tests_properties(close_ways main_window_screenshot links painting keyboard_and_about hostile_font_names console
    PROPERTIES LABELS e2e)
