# Cross-build for 32-bit Windows (PE32): the release that goes on the CD.
# Its programs run under Debian's 32-bit Wine (wine32:i386).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TRIPLET i686-w64-mingw32)
set(WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
