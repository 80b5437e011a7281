# Cross build for 64-bit Windows with Debian's MinGW-w64. The -posix variant has
# std::thread, which GoogleTest needs; the program itself only uses Win32 threads.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GLIMVANE_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GLIMVANE_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLIMVANE_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GLIMVANE_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GLIMVANE_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests and tools built here run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
