# 32-bit Windows, the program's own kind. The tests need the posix thread
# model (GoogleTest takes std::mutex); the release build
# (mingw-i686-release.cmake) takes the win32 one.
set(OMBRELO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
