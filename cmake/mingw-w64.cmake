# Cross build for Windows with Debian's MinGW-w64. TAVREL_MINGW_ARCH is i686
# for the program (the default) or x86_64 for its 64-bit twin, which only the
# end-to-end tests build, to run under wine64 where 32-bit code cannot run.
# The thread model is win32 for the program, which has one thread: the posix
# model would link winpthreads (calls that Windows XP lacks) into the .exe.
# The twin is built in the posix model, that of the x86_64 compiler the test
# set-up installs; nothing of it ships.
if(NOT TAVREL_MINGW_ARCH)
  set(TAVREL_MINGW_ARCH i686)
endif()
if(TAVREL_MINGW_ARCH STREQUAL "i686")
  set(tavrel_mingw_threads win32)
elseif(TAVREL_MINGW_ARCH STREQUAL "x86_64")
  set(tavrel_mingw_threads posix)
else()
  message(FATAL_ERROR "TAVREL_MINGW_ARCH is i686 or x86_64, not ${TAVREL_MINGW_ARCH}")
endif()
# Checks made by try_compile read this file again and need the choice too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVREL_MINGW_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TAVREL_MINGW_ARCH})
set(TOOLCHAIN_PREFIX ${TAVREL_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-${tavrel_mingw_threads})
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-${tavrel_mingw_threads})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
