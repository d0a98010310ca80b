# The program users get: 32-bit, the win32 thread model. The program has no
# threads, and the posix model's static winpthread runtime brings TLS
# callbacks and thread-suspending imports that antivirus heuristics dislike.
# For the same reason its function-local statics need no lock: guarding them
# would bring the runtime's condition variables (3 KB). Nothing asks an
# object's type at run time (exceptions are caught whatever they are), and
# the type records of the windows, each with two bases, would bring the
# runtime's code for multiple inheritance (3.5 KB).
set(OMBRELO_THREAD_MODEL win32)
set(CMAKE_CXX_FLAGS_INIT "-fno-threadsafe-statics -fno-rtti")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
