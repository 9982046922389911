#include "framework/com_holders.h"

#include <vector>

Bstr Bstr::FromAnsi(const char* text)
{
    if (!text) text = "";
    int wide = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wide <= 0) return Bstr::Adopt(SysAllocString(L""));
    BSTR s = SysAllocStringLen(nullptr, static_cast<UINT>(wide - 1));
    if (!s) return Bstr();
    MultiByteToWideChar(CP_ACP, 0, text, -1, s, wide);
    return Bstr::Adopt(s);
}

std::string BstrToAnsi(BSTR s)
{
    UINT len = SysStringLen(s);
    if (len == 0) return std::string();
    int bytes = WideCharToMultiByte(CP_ACP, 0, s, static_cast<int>(len), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, s, static_cast<int>(len), &out[0], bytes, nullptr, nullptr);
    return out;
}
