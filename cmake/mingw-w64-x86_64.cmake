# Cross build for 64-bit Windows with Debian's mingw-w64, posix thread model
# (std::thread and friends need it). Everything is linked statically, so each
# .exe needs only the DLLs that come with Windows.
#
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_lw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_lw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_lw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_lw_triple}-windres)
set(CMAKE_AR ${_lw_triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_lw_triple}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${_lw_triple}-strip CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_lw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static also takes winpthread in whole; without it the posix thread model
# drags in libwinpthread-1.dll.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs (add_test, gtest_discover_tests) run through Wine.
get_filename_component(_lw_wine_run ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_lw_wine_run})
