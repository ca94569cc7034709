# Shared part of the two mingw-w64 toolchain files; TRIPLET and WINE_LOADER
# (the Wine that runs this bitness) are set by the caller.
# The win32 thread model: the posix one links libwinpthread, which imports
# GetTickCount64 and so cannot load on Windows XP.
set(CMAKE_C_COMPILER   ${TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER  ${TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Link the C++ runtime in: the program must need no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# The release carries no debug information (the static runtime brings some).
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
# Test programs start under Wine through scripts/wine-run.sh, which starts
# once more a program that Wine ended before it wrote anything.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${WINE_LOADER})
