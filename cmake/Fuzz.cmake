# Fuzz targets of the portable model, with clang's libFuzzer and the sanitizers, in a
# build folder of their own: cmake -S . -B build/fuzz -DVELTRANE_FUZZ=ON
# -DCMAKE_CXX_COMPILER=clang++ (scripts/fuzz.sh does it and runs them).
set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(veltrane_portable PRIVATE ${sanitizers} -fsanitize=fuzzer-no-link)

set(fuzz_targets LinkTableFuzz LinkFileNameFuzz EudcExtensionFuzz EudcCharactersFuzz FontFaceNameFuzz RegFileFuzz
    PackManifestFuzz PackUnpackFuzz UnpackHostileFuzz ExportImportFuzz ListCheckFuzz)
foreach(target IN LISTS fuzz_targets)
    add_executable(${target} tests/fuzz/${target}.cpp)
    target_include_directories(${target} PRIVATE tests/native)
    target_compile_options(${target} PRIVATE ${sanitizers} -fsanitize=fuzzer)
    target_link_options(${target} PRIVATE ${sanitizers} -fsanitize=fuzzer)
    target_link_libraries(${target} PRIVATE veltrane_portable)
endforeach()

# Each target's seeds replayed, one ctest entry each: `ctest --test-dir build/fuzz`.
# libFuzzer runs every input of the folder once and stops; an input that runs longer than
# the timeout (a command that never ends) fails.
foreach(target IN LISTS fuzz_targets)
    add_test(NAME ${target}_corpus COMMAND ${target} -runs=0 -timeout=10 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${target})
    set_tests_properties(${target}_corpus PROPERTIES TIMEOUT 120)
endforeach()
