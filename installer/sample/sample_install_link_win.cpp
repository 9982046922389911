#include "installer/sample/sample_install_link_win.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "framework/com_holders.h"

bool CreateShortcutFile(const std::string& link_path, const std::string& target,
                        const std::string& work_folder, const std::string& description) {
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.PutVoid())))
        return false;
    if (FAILED(link->SetPath(target.c_str())) || FAILED(link->SetWorkingDirectory(work_folder.c_str())) ||
        FAILED(link->SetDescription(description.c_str())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(IID_IPersistFile, file))) return false;
    const int length = MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, nullptr, 0);
    if (length <= 0) return false;
    std::vector<wchar_t> wide(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, link_path.c_str(), -1, wide.data(), length);
    return SUCCEEDED(file->Save(wide.data(), TRUE));
}
