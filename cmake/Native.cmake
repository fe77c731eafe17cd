# The native build: the portable code and its tests, with the sanitizers on.
option(VELTRANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(VELTRANE_SANITIZE)
    # Unoptimised, with line tables only: the instrumented code compiles four times as
    # fast as at -O2 with full debug information, the sanitizers miss nothing that they
    # catch there and still name each fault's file and line, and the tests run as fast.
    set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${sanitizers} -O0 -g1)
    add_link_options(${sanitizers})
    # The portable library is made before this file is read, so the directory's options
    # miss it; it is the code under test.
    target_compile_options(veltrane_portable PRIVATE ${sanitizers} -O0 -g1)
endif()
# The standard headers that most of the portable files include, parsed once.
target_precompile_headers(veltrane_portable PRIVATE <algorithm> <functional> <map> <memory> <optional> <set> <string>
    <string_view> <vector>)

# The system's prebuilt GoogleTest (libgtest-dev): the framework itself needs no
# sanitizer, and compiling it was a seventh of the build.
find_package(GTest CONFIG REQUIRED)

add_executable(veltrane_native_tests
    tests/native/FontListTest.cpp
    tests/native/FamilyReportsTest.cpp
    tests/native/AboutDateTest.cpp
    tests/native/PlacementTest.cpp
    tests/native/LinkStoreTest.cpp
    tests/native/LinkFollowTest.cpp
    tests/native/LinkCommandsTest.cpp
    tests/native/EudclinkTest.cpp
    tests/native/PackTest.cpp
    tests/native/EudcCharactersTest.cpp
    tests/native/FontFaceNameTest.cpp
    tests/native/RegFileTest.cpp
)
target_link_libraries(veltrane_native_tests PRIVATE veltrane_portable GTest::gtest_main)
# GoogleTest's header is most of what each test file parses.
target_precompile_headers(veltrane_native_tests PRIVATE <gtest/gtest.h> <functional> <string> <vector>)
include(GoogleTest)
gtest_discover_tests(veltrane_native_tests PROPERTIES TIMEOUT 60)
