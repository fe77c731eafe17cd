# The Windows build: the program, its tests (run under Wine by ctest) and the tools the
# end-to-end tests drive it with.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
add_compile_definitions(STRICT NOMINMAX WIN32_LEAN_AND_MEAN)
# No MinGW runtime DLL needs to travel with the executable.
add_link_options(-static)

# The ports of the model on Win32 that both programs use.
add_library(veltrane_platform STATIC
    src/platform/win32/AnsiCodePage.cpp
    src/platform/win32/CommandLine.cpp
    src/platform/win32/DisplayScale.cpp
    src/platform/win32/PngWriter.cpp
    src/platform/win32/PrivateFont.cpp
    src/platform/win32/Win32CodePages.cpp
    src/platform/win32/Win32Console.cpp
    src/platform/win32/Win32Files.cpp
    src/platform/win32/Win32FontSource.cpp
    src/platform/win32/Win32Hashing.cpp
    src/platform/win32/Win32Libraries.cpp
    src/platform/win32/Win32Registry.cpp
)
# A program imports ole32 and the image codec only when it uses them: eudclink for chart.
target_link_libraries(veltrane_platform PUBLIC veltrane_portable gdi32 user32 advapi32 bcrypt ole32 windowscodecs uuid)

# Drawing that both faces show: the character chart, in the window and in eudclink's pictures.
add_library(veltrane_drawing STATIC
    src/drawing/CharacterChart.cpp
    src/drawing/ChartPictures.cpp
)
target_link_libraries(veltrane_drawing PUBLIC veltrane_platform)

# The window, its framework and its application, which the program's start makes.
add_library(veltrane_win STATIC
    src/app/AboutBox.cpp
    src/app/FontLinkApp.cpp
    src/platform/win32/AccessibleItems.cpp
    src/platform/win32/Bitmap.cpp
    src/platform/win32/DialogKeyFilter.cpp
    src/platform/win32/Dialog.cpp
    src/platform/win32/EudcFileDialog.cpp
    src/platform/win32/HighContrast.cpp
    src/platform/win32/RegistryWatch.cpp
    src/platform/win32/Resources.cpp
    src/platform/win32/WinApp.cpp
    src/platform/win32/Wnd.cpp
    src/ui/CharacterGrid.cpp
    src/ui/CharacterLoad.cpp
    src/ui/CharacterView.cpp
    src/ui/FontLinkDlg.cpp
    src/ui/ListAccessible.cpp
    src/ui/ListRows.cpp
    src/ui/MaskedBitmap.cpp
    src/ui/Palette.cpp
    src/ui/RowPicture.cpp
    src/ui/SunkenFrame.cpp
)
target_include_directories(veltrane_win PUBLIC src res)
target_link_libraries(veltrane_win PUBLIC veltrane_drawing shlwapi comdlg32 oleacc oleaut32)

# The version records take the project's version from here.
configure_file(res/version.h.in generated/version.h @ONLY)
set(version_header ${CMAKE_BINARY_DIR}/generated/version.h)

# Resources go in as an object so that every executable that needs them gets them whole.
# windres does not report what a script includes, so the scripts' inputs are listed.
add_library(veltrane_res OBJECT res/veltrane.rc)
target_include_directories(veltrane_res PRIVATE res src ${CMAKE_BINARY_DIR}/generated)
set_property(SOURCE res/veltrane.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_SOURCE_DIR}/res/resource.h
    ${CMAKE_SOURCE_DIR}/src/platform/win32/FrameworkResources.h
    ${CMAKE_SOURCE_DIR}/res/veltrane.manifest
    ${version_header}
    ${CMAKE_SOURCE_DIR}/res/veltrane.ico
    ${CMAKE_SOURCE_DIR}/res/font_item.bmp)

add_executable(veltrane WIN32 src/app/VeltraneMain.cpp $<TARGET_OBJECTS:veltrane_res>)
target_link_libraries(veltrane PRIVATE veltrane_win)
set_target_properties(veltrane PROPERTIES OUTPUT_NAME VELTRANE SUFFIX .EXE)

# The console companion: the same model, no window, and none of the window's libraries,
# each of which every start of the program would pay to load.
add_executable(eudclink src/app/EudclinkMain.cpp res/eudclink.rc)
target_include_directories(eudclink PRIVATE res ${CMAKE_BINARY_DIR}/generated)
set_property(SOURCE res/eudclink.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_SOURCE_DIR}/res/resource.h
    ${CMAKE_SOURCE_DIR}/res/veltrane.manifest
    ${version_header}
    ${CMAKE_SOURCE_DIR}/res/veltrane.ico)
target_link_libraries(eudclink PRIVATE veltrane_drawing)
target_link_options(eudclink PRIVATE -municode)
target_compile_definitions(eudclink PRIVATE VELTRANE_VERSION="${PROJECT_VERSION}")

include(cmake/Release.cmake)

if(VELTRANE_TESTS)
    include(cmake/WindowsTests.cmake)
    include(cmake/Bench.cmake)
endif()
