#include "register_file_win.h"

#include <string>

#include "common/padded_number.h"
#include "common/scoped_handles_win.h"
#include "register_list.h"
#include "scoped_win.h"

namespace tolvane {

namespace {

const char* PlatformKeyName(SYSKIND kind) {
    switch (kind) {
        case SYS_WIN16: return "win16";
        case SYS_WIN64: return "win64";
        default: return "win32";
    }
}

// Whether HKCR\TypeLib\{libid}\major.minor\lcid\platform exists: the library
// is registered under the locale and for the platform it describes.
bool TypeLibRegisteredHere(const TLIBATTR& attr) {
    wchar_t wide_guid[64] = {};
    char guid[64] = {};
    if (StringFromGUID2(attr.guid, wide_guid, 64) == 0 ||
        WideCharToMultiByte(CP_ACP, 0, wide_guid, -1, guid, sizeof guid, nullptr, nullptr) == 0) {
        return true;  // cannot tell: keep the failure
    }
    const std::string key = std::string("TypeLib\\") + guid + '\\' + PaddedNumber(attr.wMajorVerNum, 0, 16) + '.' +
                            PaddedNumber(attr.wMinorVerNum, 0, 16) + '\\' + PaddedNumber(attr.lcid, 0, 16) + '\\' +
                            PlatformKeyName(attr.syskind);
    ScopedKey opened;
    return RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.out()) == ERROR_SUCCESS;
}

bool UnregisterLoadedTypeLib(ITypeLib* library) {
    ScopedTypeLibAttr attr(library);
    if (attr.get() == nullptr) return false;
    const TLIBATTR& a = *attr.get();
    if (SUCCEEDED(UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind))) return true;
    // Not registered here (never, or only under another locale or platform):
    // there is nothing of this library to remove, and the uninstall goes on.
    return !TypeLibRegisteredHere(a);
}

}  // namespace

bool RegisterTypeLibFile(const std::string& path, bool do_register) {
    const std::wstring wide_path = WideFromAnsi(path);
    ComPtr<ITypeLib> library;
    // REGKIND_NONE: loading alone must never register, least of all while
    // unregistering.
    if (FAILED(LoadTypeLibEx(wide_path.c_str(), REGKIND_NONE, library.out()))) return false;
    if (!do_register) return UnregisterLoadedTypeLib(library.get());
    std::wstring help_folder = WideFromAnsi(HelpFolderOf(path));
    return SUCCEEDED(RegisterTypeLib(library.get(), const_cast<LPOLESTR>(wide_path.c_str()),
                                     const_cast<LPOLESTR>(help_folder.c_str())));
}

}  // namespace tolvane
