// libstdc++'s default terminate handler prints the demangled type of the exception that
// escaped, and so links in a 45 KB demangler. Glimvane has no console to print to: ending at
// once is all that handler could usefully do.

#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
#endif
