// Registration and unregistration of one listed file.
#pragma once

#include <string>

namespace tolvane {

// Loads a COM server file from its own folder (made current for the call and
// restored afterwards) and runs DllRegisterServer or DllUnregisterServer
// inside CoInitialize/CoUninitialize. True when the export returned a
// non-negative HRESULT.
bool RegisterServerFile(const std::string& path, bool do_register);

// Registers a type library with its own folder as help folder, or removes the
// registration of the library's identifier, version, locale and platform.
bool RegisterTypeLibFile(const std::string& path, bool do_register);

// Dispatches on the file's name: a "tlb" ending is a type library, anything
// else a server registered in a child tolvane (server_child_win.h).
bool RegisterListedFile(const std::string& path, bool do_register);

}  // namespace tolvane
