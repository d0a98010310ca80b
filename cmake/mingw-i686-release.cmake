# The program users get: 32-bit, the win32 thread model. The program has no
# threads, and the posix model's static winpthread runtime brings TLS
# callbacks and thread-suspending imports that antivirus heuristics dislike.
set(OMBRELO_THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
