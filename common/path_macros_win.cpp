#include "common/path_macros_win.h"

#include <windows.h>

namespace {

// Each folder is fetched with room for MAX_PATH characters; a failed or
// oversized answer leaves the value empty rather than half-filled.
template <typename Fetch>
std::string FetchFolder(Fetch fetch) {
    char buffer[MAX_PATH] = "";
    const UINT length = fetch(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(buffer, length);
}

}  // namespace

void FetchSystemMacroFolders(MacroFolders& folders) {
    folders.windows = FetchFolder([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); });
    folders.system = FetchFolder([](char* b, UINT n) { return GetSystemDirectoryA(b, n); });
    folders.win_temp = FetchFolder(
        [](char* b, UINT n) { return static_cast<UINT>(GetTempPathA(n, b)); });
}
