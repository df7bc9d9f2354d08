# Cross-building for 64-bit Windows with mingw-w64 (the posix thread model,
# which std::thread and std::mutex need). Programs built for the target run
# under Wine: ctest runs the tests through it, and gtest_discover_tests lists
# them through it at build time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VTR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VTR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VTR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VTR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VTR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# cmake/wine-run.sh runs them in the build's own Wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
