// Legacy item names in the system's OEM code page, for the ZIP engine of the controls (linked
// into zipcore in the Windows build).
#include <windows.h>

#include <climits>
#include <vector>

#include "toolkit/zipcore/name_coding.h"

namespace zipcore {

std::string oemToUtf8(const std::string& oem) {
    if (oem.empty() || oem.size() > size_t(INT_MAX / 2)) return std::string();
    const int length = int(oem.size());
    const int wide = MultiByteToWideChar(CP_OEMCP, 0, oem.data(), length, nullptr, 0);
    if (wide <= 0) return validUtf8Name(oem);
    std::vector<wchar_t> text(size_t(wide), L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, oem.data(), length, &text[0], wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return validUtf8Name(oem);
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}

}  // namespace zipcore
