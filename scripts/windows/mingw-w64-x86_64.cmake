# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GRIDFORGE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GRIDFORGE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GRIDFORGE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GRIDFORGE_MINGW_PREFIX}-windres)

# Libraries and headers come from the mingw-w64 sysroot and from the folders
# named in CMAKE_PREFIX_PATH (the Qt built for Windows); programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${GRIDFORGE_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
