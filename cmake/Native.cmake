# The native build: the portable code and its tests, with the sanitizers on.
option(VELTRANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(VELTRANE_SANITIZE)
    set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${sanitizers})
    add_link_options(${sanitizers})
    # The portable library is made before this file is read, so the directory's options
    # miss it; it is the code under test.
    target_compile_options(veltrane_portable PRIVATE ${sanitizers})
endif()

add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

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
include(GoogleTest)
gtest_discover_tests(veltrane_native_tests PROPERTIES TIMEOUT 60)
