# Windows tests run under Wine in prefixes of their own under the build folder, never the
# user's: one with Wine's null display driver for the in-process window tests, one for
# the real program under Xvfb.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(null_prefix ${CMAKE_BINARY_DIR}/wine-null)
set(wine_env WINEDEBUG=-all LC_ALL=zh_TW.UTF-8 LANG=zh_TW.UTF-8)

add_test(NAME wine_null_prefix
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/wine-prefix.sh start ${null_prefix} null)
add_test(NAME wine_null_prefix_stop
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/wine-prefix.sh stop ${null_prefix})
set_tests_properties(wine_null_prefix PROPERTIES FIXTURES_SETUP wine_null)
set_tests_properties(wine_null_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_null)

add_executable(veltrane_win_tests
    tests/win32/TestMain.cpp
    tests/win32/ModalScript.cpp
    tests/win32/MainDialogTest.cpp
    tests/win32/HelpTest.cpp
    tests/win32/ResourcesTest.cpp
    $<TARGET_OBJECTS:veltrane_res>
)
target_link_libraries(veltrane_win_tests PRIVATE veltrane_win gtest version)
add_test(NAME veltrane_win_tests COMMAND veltrane_win_tests)
set_tests_properties(veltrane_win_tests PROPERTIES
    FIXTURES_REQUIRED wine_null
    ENVIRONMENT "WINEPREFIX=${null_prefix};${wine_env}")

# The real program, driven from outside.
add_executable(drive tests/e2e/Drive.cpp)
target_include_directories(drive PRIVATE res)

add_test(NAME close_ways
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/close-ways.sh $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>)
set_tests_properties(close_ways PROPERTIES
    FIXTURES_REQUIRED wine_null
    ENVIRONMENT "WINEPREFIX=${null_prefix};${wine_env}")

set(x11_prefix ${CMAKE_BINARY_DIR}/wine-x11)
add_test(NAME wine_x11_prefix
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/wine-prefix.sh start ${x11_prefix} x11)
add_test(NAME wine_x11_prefix_stop
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/wine-prefix.sh stop ${x11_prefix})
set_tests_properties(wine_x11_prefix PROPERTIES FIXTURES_SETUP wine_x11)
set_tests_properties(wine_x11_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_x11)

add_test(NAME main_window_screenshot
    COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/screenshot.sh $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>
            ${CMAKE_BINARY_DIR}/screenshots/main-window.png)
set_tests_properties(main_window_screenshot PROPERTIES
    FIXTURES_REQUIRED wine_x11
    ENVIRONMENT "WINEPREFIX=${x11_prefix};${wine_env}")
