// The library's own throw helpers build std::logic_error and its kin, whose copy-on-write
// message strings link a second whole std::string instantiation, the formatting code and
// std::random_device (about 60 KB with their unwind tables) into every program and control.
// These throw the same standard types where those are small, and otherwise one exception
// that carries the library's message: nothing here catches the specific kinds, only
// std::exception, std::bad_alloc or everything.
#include <cstdarg>
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

// A program built without exceptions ends where the library would have thrown, as an
// exception nothing catches would end it.
#if __cpp_exceptions
#define SUITE_THROW(error) throw error
#else
#define SUITE_THROW(error) std::abort()
#endif

namespace {

class LibraryError final : public std::exception {
public:
    explicit LibraryError(const char* message) noexcept : message_(message != nullptr ? message : "") {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_;  // the library's messages are literals
};

}  // namespace

namespace std {

void __throw_bad_exception() { SUITE_THROW(std::bad_exception()); }
void __throw_bad_alloc() { SUITE_THROW(std::bad_alloc()); }
void __throw_bad_array_new_length() { SUITE_THROW(std::bad_array_new_length()); }
void __throw_bad_cast() { SUITE_THROW(std::bad_cast()); }
void __throw_bad_typeid() { SUITE_THROW(std::bad_typeid()); }
void __throw_logic_error(const char* message) { SUITE_THROW(LibraryError(message)); }
void __throw_domain_error(const char* message) { SUITE_THROW(LibraryError(message)); }
void __throw_invalid_argument(const char* message) { SUITE_THROW(LibraryError(message)); }
void __throw_length_error(const char* message) { SUITE_THROW(LibraryError(message)); }
void __throw_out_of_range(const char* message) { SUITE_THROW(LibraryError(message)); }
// The message stays a literal: the format, or the function name its "%s" leads with.
void __throw_out_of_range_fmt(const char* format, ...) {
    const char* message = format;
    if (format != nullptr && format[0] == '%' && format[1] == 's') {
        va_list arguments;
        va_start(arguments, format);
        message = va_arg(arguments, const char*);
        va_end(arguments);
    }
    SUITE_THROW(LibraryError(message));
}
void __throw_runtime_error(const char* message) { SUITE_THROW(LibraryError(message)); }
void __throw_range_error(const char* message) { SUITE_THROW(LibraryError(message)); }
void __throw_overflow_error(const char* message) { SUITE_THROW(LibraryError(message)); }
void __throw_underflow_error(const char* message) { SUITE_THROW(LibraryError(message)); }

}  // namespace std
