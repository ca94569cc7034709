# Cross-build for 32-bit Windows (PE32): the release that goes on the CD.
# This machine cannot run 32-bit code, so there is no emulator here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
