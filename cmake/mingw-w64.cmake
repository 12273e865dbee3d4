# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
#   cmake -S windows -B build/windows -DCMAKE_TOOLCHAIN_FILE=$PWD/cmake/mingw-w64.cmake
# The programs need no threads, so the default (win32-threads) compilers are enough.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingwPrefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingwPrefix}-gcc)
set(CMAKE_CXX_COMPILER ${mingwPrefix}-g++)
set(CMAKE_RC_COMPILER ${mingwPrefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingwPrefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
