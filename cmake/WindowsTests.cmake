# Windows tests run under Wine in prefixes of their own under the build folder, never the
# user's: one with Wine's null display driver for the window tests, one with the X11
# driver for the real program under Xvfb.
# The test framework is not part of the release archive.
set(INSTALL_GTEST OFF)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(wine_env WINEDEBUG=-all LC_ALL=zh_TW.UTF-8)

# A test fixture that prepares the prefix build/wine-DRIVER and ends its Wine server
# afterwards; the tests that name the fixture run in that prefix.
function(add_wine_prefix driver)
    set(prefix ${CMAKE_BINARY_DIR}/wine-${driver})
    set(script ${CMAKE_SOURCE_DIR}/tests/e2e/wine-prefix.sh)
    add_test(NAME wine_${driver}_prefix COMMAND ${script} start ${prefix} ${driver})
    add_test(NAME wine_${driver}_prefix_stop COMMAND ${script} stop ${prefix})
    set_tests_properties(wine_${driver}_prefix PROPERTIES FIXTURES_SETUP wine_${driver})
    set_tests_properties(wine_${driver}_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_${driver})
endfunction()

function(run_in_wine_prefix test driver)
    set_tests_properties(${test} PROPERTIES
        FIXTURES_REQUIRED wine_${driver}
        ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wine-${driver};${wine_env}")
endfunction()

add_wine_prefix(null)
add_wine_prefix(x11)

add_executable(veltrane_win_tests
    tests/win32/TestMain.cpp
    tests/win32/ModalScript.cpp
    tests/win32/MainDialogTest.cpp
    tests/win32/HelpTest.cpp
    tests/win32/LinksTest.cpp
    tests/win32/HostileRegistryTest.cpp
    tests/win32/PaintingTest.cpp
    tests/win32/ResourcesTest.cpp
    $<TARGET_OBJECTS:veltrane_res>
)
target_link_libraries(veltrane_win_tests PRIVATE veltrane_win gtest version)
add_test(NAME veltrane_win_tests COMMAND veltrane_win_tests)
run_in_wine_prefix(veltrane_win_tests null)

# The real program, driven from outside.
add_executable(drive tests/e2e/Drive.cpp)
target_include_directories(drive PRIVATE res)

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

# Every path a user can take through the real program: `ctest -L e2e`.
set_tests_properties(close_ways main_window_screenshot links painting keyboard_and_about PROPERTIES LABELS e2e)
