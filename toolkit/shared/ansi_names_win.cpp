// UTF-8 item names in the ANSI code page, for the ZIP engine of the controls (linked into
// zipcore in the Windows build).
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "toolkit/zipcore/ansi_names.h"

namespace zipcore {

bool utf8ToAnsi(const std::string& utf8, std::string& ansi) {
    ansi.clear();
    if (utf8.empty()) return true;
    if (utf8.size() > size_t(INT_MAX)) return false;
    const int length = int(utf8.size());
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (wide <= 0) return false;
    std::vector<wchar_t> text(size_t(wide), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, &text[0], wide) != wide)
        return false;
    // A system whose ANSI code page is UTF-8 takes the name as it is; WideCharToMultiByte
    // would refuse the used-default flag for it anyway.
    if (GetACP() == CP_UTF8) {
        ansi = utf8;
        return true;
    }
    // No best fit: "Ω" must not quietly become "O", nor a fullwidth solidus a separator.
    BOOL usedDefault = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wide, nullptr, 0,
                                          nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    ansi.assign(size_t(bytes), '\0');
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wide, &ansi[0], bytes, nullptr,
                            &usedDefault) != bytes ||
        usedDefault) {
        ansi.clear();
        return false;
    }
    return true;
}

}  // namespace zipcore
