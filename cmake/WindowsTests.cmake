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
