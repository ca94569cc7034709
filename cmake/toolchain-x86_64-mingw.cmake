# Cross-build for 64-bit Windows (PE32+). Tests run this build under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Test programs start through scripts/wine-run.sh, which starts once more a
# program that Wine ended before it wrote anything.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh /usr/lib/wine/wine64)
