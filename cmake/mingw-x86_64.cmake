# 64-bit Windows. Only for testing on machines whose kernel runs no 32-bit
# processes, where 32-bit Wine cannot start; the program users get is the
# i686 build.
set(OMBRELO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
