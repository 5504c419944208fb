# Cross toolchain: i686 (32-bit) Windows through Debian's mingw-w64 (posix threads, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(SAPALA_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${SAPALA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SAPALA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${SAPALA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SAPALA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Floating point in SSE2 registers, as on x86_64: x87's 80-bit intermediates round some colour
# sums differently (a value just under one half becomes exactly one half). Every processor the
# program can meet has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
