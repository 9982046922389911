// Thread and lock failures (out of threads or handles) throw std::system_error, whose
// category and message code bring back the library's string instances (about 50 KB). This
// throws a plain std::exception instead; nothing catches the specific kind. Kept apart from
// the other throw helpers: a program that uses std::error_code itself links the library's
// object and cannot link this one (the link fails on the double definition).
#include <cstdlib>
#include <exception>

namespace {

class ThreadSystemError final : public std::exception {
public:
    const char* what() const noexcept override { return "thread or lock failure"; }
};

}  // namespace

namespace std {

void __throw_system_error(int) {
#if __cpp_exceptions
    throw ThreadSystemError();
#else
    std::abort();
#endif
}

}  // namespace std
