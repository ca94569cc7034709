# Cross-build for 32-bit Windows (PE32): the release that goes on the CD.
# Its programs run under Debian's 32-bit Wine (wine32:i386).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Test programs start through scripts/wine-run.sh, which starts once more a
# program that Wine ended before it wrote anything.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh /usr/lib/wine/wine)
