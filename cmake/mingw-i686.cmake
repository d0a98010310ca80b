# Cross-compiles for 32-bit Windows with MinGW-w64; tests run under Wine.
# The tests need the posix thread model (GoogleTest takes std::mutex); the
# release build (mingw-i686-release.cmake) takes the win32 one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

if(NOT OMBRELO_THREAD_MODEL)
  set(OMBRELO_THREAD_MODEL posix)
endif()
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${OMBRELO_THREAD_MODEL})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${OMBRELO_THREAD_MODEL})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# One self-contained exe: no libgcc, libstdc++ or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
