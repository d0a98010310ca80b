// The C++ runtime's hooks, in lighter versions than the library's own. Each
// of the library's pulls in far more than this program uses; what they do
// here is all that can be done in a program without a console.
#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#include "platform/result.h"

// The default handler for an exception nobody caught prints its demangled
// type to a console the program does not have, and brings the C++ demangler
// (46 KB) to do it; ending at once is all it can do here.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The standard containers report a failed check through these. The
// library's versions build std::length_error and the like, whose message is
// a copy-on-write string: that brings a second std::string and everything
// it needs (about 80 KB). The program tells a library check from the rest
// by its type alone, so a fixed text is all that is lost.
using ombrelo::LibraryCheckFailed;

namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char* what) { throw LibraryCheckFailed(what); }
void __throw_logic_error(const char* what) { throw LibraryCheckFailed(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryCheckFailed(format); }
}  // namespace std

// g++ 13 and later leave one member of std::string and std::wstring, the
// copy for a replace whose source overlaps its target, to the library's
// explicit instantiation. Taking it from there links the library's whole
// string-inst.o and wstring-inst.o (about 60 KB); instantiating the
// header's own definition here takes just it.
#if defined(_GLIBCXX_RELEASE) && _GLIBCXX_RELEASE >= 13
template void std::string::_M_replace_cold(char*, size_type, const char*, size_type, size_type);
template void std::wstring::_M_replace_cold(wchar_t*, size_type, const wchar_t*, size_type,
                                            size_type);
#endif
