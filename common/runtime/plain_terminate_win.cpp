// The runtime's default terminate handler names the uncaught exception's type, which links
// the whole C++ name demangler (about 45 KB) into every program and control. A GUI program
// has no console to print it on, so ours ends the process the same way without the name.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
