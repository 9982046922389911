#include "common/special_folder_win.h"

#include <shlobj.h>

#include "common/special_folder.h"

namespace {

int ShellFolderId(SpecialFolder folder) {
    switch (folder) {
        case SpecialFolder::Desktop: return CSIDL_DESKTOP;
        case SpecialFolder::SendTo: return CSIDL_SENDTO;
        case SpecialFolder::StartMenu: return CSIDL_STARTMENU;
        case SpecialFolder::Startup: return CSIDL_STARTUP;
        case SpecialFolder::Programs: break;
    }
    return CSIDL_PROGRAMS;
}

// Item list from the shell, freed with the shell's allocator.
class ShellItemList {
public:
    ShellItemList(HWND owner, int csidl) {
        if (FAILED(SHGetSpecialFolderLocation(owner, csidl, &list_))) list_ = nullptr;
    }
    ~ShellItemList() {
        IMalloc* malloc = nullptr;
        if (list_ != nullptr && SUCCEEDED(SHGetMalloc(&malloc))) {
            malloc->Free(list_);
            malloc->Release();
        }
    }
    ShellItemList(const ShellItemList&) = delete;
    ShellItemList& operator=(const ShellItemList&) = delete;
    LPITEMIDLIST get() const { return list_; }

private:
    LPITEMIDLIST list_ = nullptr;
};

}  // namespace

std::string ResolveSpecialFolder(HWND owner, const char* entry, std::string* shell_folder) {
    if (entry == nullptr) return std::string();
    const SpecialFolder selected = FindSpecialFolder(entry);
    ShellItemList items(owner, ShellFolderId(selected));
    if (items.get() == nullptr) return std::string();
    char folder[MAX_PATH] = "";
    if (!SHGetPathFromIDListA(items.get(), folder) || folder[0] == '\0') return std::string();
    if (shell_folder != nullptr) *shell_folder = folder;
    return ComposeSpecialFolderPath(folder, entry, selected);
}
