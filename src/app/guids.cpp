// The interface and folder ids the program uses, defined here rather than
// taken from libuuid, whose one object brings every id Windows has (35 KB);
// the linker keeps only those referred to.
#include <windows.h>
// after windows.h; before the headers that declare the ids, so that they
// define them
#include <initguid.h>
#include <knownfolders.h>
