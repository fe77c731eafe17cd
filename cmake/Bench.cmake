# The benchmark's tools (scripts/bench.sh runs them): a floor program that makes only
# the platform calls VELTRANE.EXE needs, and the tool that times both from outside.
add_executable(floor WIN32 bench/Floor.cpp bench/Floor.rc)
target_include_directories(floor PRIVATE res src)
target_link_libraries(floor PRIVATE gdi32 user32 comdlg32)
set_target_properties(floor PROPERTIES OUTPUT_NAME FLOOR SUFFIX .EXE)

add_executable(measure bench/Measure.cpp)
target_include_directories(measure PRIVATE res src)
target_link_libraries(measure PRIVATE psapi)
