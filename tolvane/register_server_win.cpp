#include "register_file_win.h"

#include "register_list.h"
#include "run_settings_win.h"
#include "scoped_win.h"
#include "server_child_win.h"

namespace tolvane {

namespace {

bool RunSelfRegistration(const std::string& path, bool do_register) {
    ScopedComInit com;
    if (!com.ok()) return false;
    HMODULE loaded;
    {
        ScopedQuietErrorMode quiet;
        loaded = LoadLibraryA(path.c_str());
    }
    if (loaded == nullptr) return false;
    ScopedServerModule module(loaded);
    const char* export_name = do_register ? "DllRegisterServer" : "DllUnregisterServer";
    using SelfRegisterFunction = HRESULT(STDAPICALLTYPE*)();
    auto entry = reinterpret_cast<SelfRegisterFunction>(
        reinterpret_cast<void*>(GetProcAddress(module.get(), export_name)));
    if (entry == nullptr) return false;
    return SUCCEEDED(entry());
}

}  // namespace

bool RegisterServerFile(const std::string& path, bool do_register) {
    // The server's dependencies are found beside it through the current folder.
    ScopedCurrentDirectory in_folder(ServerFolderOf(path));
    return RunSelfRegistration(path, do_register);
}

bool RegisterListedFile(const std::string& path, bool do_register) {
    // A type library is only read, so it is registered here; a server's own
    // code runs in a child.
    return IsTypeLibraryName(path) ? RegisterTypeLibFile(path, do_register)
                                   : RegisterServerInChild(path, do_register, Settings().main_window);
}

}  // namespace tolvane
