# The release archive, made by `cpack` in a Windows build folder: the programs under a
# folder named after their architecture, the READMEs and the documents with their
# pictures, and the licence.
# VELTRANE_RELEASE_BUILDS lists further build folders, for other architectures, whose
# programs go into the same archive (scripts/release.sh).
set(VELTRANE_RELEASE_BUILDS "" CACHE STRING "Other Windows build folders whose programs the archive holds too")
# cpack packs the programs as they were built (and tested), building nothing itself: not
# the rest of a build folder either, such as tests that cannot run on this machine.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS veltrane eudclink RUNTIME DESTINATION ${CMAKE_SYSTEM_PROCESSOR})
install(FILES README.md README.zh-TW.md LICENSE DESTINATION .)
install(FILES docs/main-window.png docs/about-box.png docs/broken-link.png docs/character-view.png docs/chart.png
    docs/window.md docs/eudclink.md docs/wine.md docs/testing.md docs/benchmarks.md docs/architecture.md
    DESTINATION docs)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME veltrane)
set(CPACK_PACKAGE_FILE_NAME veltrane-${PROJECT_VERSION}-windows)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};veltrane;ALL;/")
foreach(build IN LISTS VELTRANE_RELEASE_BUILDS)
    list(APPEND CPACK_INSTALL_CMAKE_PROJECTS "${build};veltrane;ALL;/")
endforeach()
include(CPack)
