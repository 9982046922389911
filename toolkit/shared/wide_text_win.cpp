#include "toolkit/shared/wide_text_win.h"

#include <climits>

namespace vxcom {

namespace {

WideText Widen(UINT codePage, const std::string& text)
{
    WideText out;
    if (!text.empty() && text.size() < size_t(INT_MAX)) {
        const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        if (n > 0) {
            out.resize(static_cast<size_t>(n));
            MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
        }
    }
    out.push_back(L'\0');
    return out;
}

std::string Narrow(UINT codePage, const wchar_t* text, size_t length)
{
    if (!text || length == 0 || length >= size_t(INT_MAX / 4)) return std::string();
    const int n = WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), &out[0], n, nullptr, nullptr);
    return out;
}

} // namespace

WideText WideFromUtf8(const std::string& utf8) { return Widen(CP_UTF8, utf8); }
std::string Utf8FromWide(const wchar_t* text, size_t length) { return Narrow(CP_UTF8, text, length); }
WideText WideFromAnsi(const std::string& ansi) { return Widen(CP_ACP, ansi); }
std::string AnsiFromWide(const wchar_t* text, size_t length) { return Narrow(CP_ACP, text, length); }

} // namespace vxcom
