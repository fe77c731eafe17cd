# Windows tests run under Wine, never in the user's prefix: each in a copy of its own of
# one base prefix, with its own Wine server and, with the X11 driver, its own Xvfb
# display (tests/e2e/wine-prefix.sh), so that `ctest -j` runs them side by side.
# The test framework is not part of the release archive.
set(INSTALL_GTEST OFF)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# A prefix runs 32-bit and 64-bit programs alike, so the i686 build copies the x86-64
# build's base rather than making one more.
set(VELTRANE_WINE_BASE ${CMAKE_BINARY_DIR}/wine-base CACHE PATH "The base Wine prefix that each test's prefix is copied from")
set(wine_prefix_script ${CMAKE_SOURCE_DIR}/tests/e2e/wine-prefix.sh)

add_test(NAME wine_base_prefix COMMAND ${wine_prefix_script} base ${VELTRANE_WINE_BASE})
set_tests_properties(wine_base_prefix PROPERTIES FIXTURES_SETUP wine_base TIMEOUT 400)

# add_wine_test(NAME DRIVER SECONDS COMMAND...): COMMAND in a prefix of its own with the
# display driver null, x11 (under Xvfb) or none (no display at all), given up after
# SECONDS. ctest's own limit leaves time to copy the prefix and to clean up.
function(add_wine_test name driver seconds)
    add_test(NAME ${name}
        COMMAND ${wine_prefix_script} run ${VELTRANE_WINE_BASE} ${CMAKE_BINARY_DIR}/prefixes/${name}
                ${driver} ${seconds} ${ARGN})
    math(EXPR limit "${seconds} + 60")
    # The longest first, as ctest does from the second run on.
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_base TIMEOUT ${limit} COST ${seconds})
endfunction()

add_executable(veltrane_win_tests
    tests/win32/TestMain.cpp
    tests/win32/ModalScript.cpp
    tests/win32/MainDialogTest.cpp
    tests/win32/HelpTest.cpp
    tests/win32/FollowTest.cpp
    tests/win32/CharacterViewTest.cpp
    tests/win32/ThreadsTest.cpp
    tests/win32/LinksTest.cpp
    tests/win32/HostileRegistryTest.cpp
    tests/win32/PaintingTest.cpp
    tests/win32/ResourcesTest.cpp
    tests/win32/BuiltProgramsTest.cpp
    tests/win32/UniqueHandleTest.cpp
    $<TARGET_OBJECTS:veltrane_res>
)
target_link_libraries(veltrane_win_tests PRIVATE veltrane_win gtest version)
# A font to install while the window is open, as Wine's path of the build's file.
set(follow_font ${CMAKE_BINARY_DIR}/test-fonts/gen00000.ttf)
add_custom_command(OUTPUT ${follow_font}
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/make_fonts.py ${CMAKE_BINARY_DIR}/test-fonts "Follow Font=big5"
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_fonts.py)
add_custom_target(follow_font DEPENDS ${follow_font})
add_dependencies(veltrane_win_tests follow_font)
target_compile_definitions(veltrane_win_tests PRIVATE FOLLOW_FONT="Z:${follow_font}")
# The built programs' files, which the tests read as Windows does, and the version they
# must carry.
add_dependencies(veltrane_win_tests veltrane eudclink)
target_compile_definitions(veltrane_win_tests PRIVATE
    VELTRANE_EXE=L"Z:$<TARGET_FILE:veltrane>" EUDCLINK_EXE=L"Z:$<TARGET_FILE:eudclink>"
    VELTRANE_VERSION="${PROJECT_VERSION}")
add_wine_test(veltrane_win_tests null 180 wine $<TARGET_FILE:veltrane_win_tests>)

# The real program, driven from outside.
add_executable(drive tests/e2e/Drive.cpp tests/e2e/LayoutCheck.cpp)
target_include_directories(drive PRIVATE src res)
target_link_libraries(drive PRIVATE veltrane_portable ole32 oleaut32 oleacc)

set(e2e ${CMAKE_SOURCE_DIR}/tests/e2e)
set(programs $<TARGET_FILE:veltrane> $<TARGET_FILE:drive>)
set(screenshots ${CMAKE_BINARY_DIR}/screenshots)
add_wine_test(close_ways null 120 ${e2e}/close-ways.sh ${programs})
add_wine_test(main_window_screenshot x11 120 ${e2e}/screenshot.sh ${programs} ${screenshots}/main-window.png)
add_wine_test(links x11 400 ${e2e}/links.sh ${programs} ${screenshots}/links)
add_wine_test(painting x11 180 ${e2e}/painting.sh ${programs} ${screenshots}/painting)
add_wine_test(keyboard_and_about x11 240 ${e2e}/keyboard-and-about.sh ${programs} ${screenshots})
add_wine_test(hostile_font_names x11 300 ${e2e}/hostile-names.sh ${programs} ${screenshots}/hostile-names)
add_wine_test(follow x11 180 ${e2e}/follow.sh ${programs} $<TARGET_FILE:eudclink> ${screenshots}/follow)
add_wine_test(characters x11 240 ${e2e}/characters.sh ${programs} $<TARGET_FILE:eudclink> ${screenshots}/characters)
add_wine_test(stalled_share x11 180 ${e2e}/stalled-share.sh ${programs} ${screenshots}/stalled-share)
# The display at 125, 150 and 200 percent, on a screen large enough for each.
foreach(dpi 120 144 192)
    add_wine_test(scale_${dpi} x11 180 ${e2e}/scale.sh ${programs} ${dpi} ${screenshots}/scale)
    set_tests_properties(scale_${dpi} PROPERTIES ENVIRONMENT VELTRANE_SCREEN=2048x1536)
    list(APPEND scale_tests scale_${dpi})
endforeach()
# The console program, run with no display at all.
add_wine_test(console none 240 ${e2e}/console.sh $<TARGET_FILE:eudclink>)
# Links and files carried from one prefix to another, and code page 932's key.
add_wine_test(carry none 300 ${e2e}/carry.sh $<TARGET_FILE:eudclink> $<TARGET_FILE:drive> ${VELTRANE_WINE_BASE})
# The documents' examples: each is what eudclink printed in one session of its own.
add_test(NAME examples COMMAND ${CMAKE_SOURCE_DIR}/scripts/examples.sh ${CMAKE_BINARY_DIR} ${VELTRANE_WINE_BASE})
set_tests_properties(examples PROPERTIES FIXTURES_REQUIRED wine_base TIMEOUT 300 COST 240)

# Every path a user can take through the real programs: `ctest -L e2e`.
set_tests_properties(close_ways main_window_screenshot links painting keyboard_and_about hostile_font_names follow characters
    stalled_share ${scale_tests} console carry examples PROPERTIES LABELS e2e)
