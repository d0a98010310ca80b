# Cross-compiles for Windows with MinGW-w64: OMBRELO_MINGW_ARCH (i686 or
# x86_64) and OMBRELO_THREAD_MODEL (posix, or win32 for the release), set by
# the toolchain file that includes this one. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${OMBRELO_MINGW_ARCH})
if(NOT OMBRELO_THREAD_MODEL)
  set(OMBRELO_THREAD_MODEL posix)
endif()

set(triplet ${OMBRELO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-${OMBRELO_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${triplet}-g++-${OMBRELO_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# One self-contained exe: no libgcc, libstdc++ or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
