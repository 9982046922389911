// Text typed by the user into the bench: numbers of each type, rename-form
// dates and times. Everything read must show again and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ulmarsh/dos_datetime.h"
#include "ulmarsh/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ulmarsh::ParseInt16(text);
    if (auto v = ulmarsh::ParseInt32(text)) {
        if (*ulmarsh::ParseInt32(std::to_string(*v)) != *v) std::abort();
    }
    if (auto date = ulmarsh::ParseDosDate(text)) {
        if (*date < 0 || *date > 0xFFFF) std::abort();
        if (ulmarsh::ParseDosDate(ulmarsh::FormatDosDate(*date)) != *date) std::abort();
    }
    if (auto time = ulmarsh::ParseDosTime(text)) {
        if (*time < 0 || *time > 0xFFFF) std::abort();
        if (ulmarsh::ParseDosTime(ulmarsh::FormatDosTime(*time)) != *time) std::abort();
    }
    // The control's dates and times are 16-bit words: each shows and reads
    // back as itself, or is refused; never as another stamp.
    if (size >= 2) {
        const int32_t word = data[0] | (data[1] << 8);
        const auto date = ulmarsh::ParseDosDate(ulmarsh::FormatDosDate(word));
        if (date && *date != word) std::abort();
        const auto time = ulmarsh::ParseDosTime(ulmarsh::FormatDosTime(word));
        if (time && *time != word) std::abort();
    }
    return 0;
}
