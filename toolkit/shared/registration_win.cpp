#include "toolkit/shared/registration_win.h"

#include "toolkit/shared/com_module_win.h"

#include <oleauto.h>
#include <olectl.h>

namespace vxreg {

namespace {

std::string GuidText(const GUID& guid)
{
    wchar_t wide[40];
    if (!StringFromGUID2(guid, wide, 40)) return std::string();
    char narrow[40];
    int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    return n > 0 ? std::string(narrow) : std::string();
}

// False when the path does not fit: a cut path would register another file.
bool ModulePath(std::string& path)
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(vxcom::ModuleHandle(), buffer, sizeof buffer);
    if (n == 0 || n >= MAX_PATH) return false;
    path.assign(buffer, n);
    return true;
}

bool Identity(const ServerDescription& server, ServerIdentity& id)
{
    id.clsid = GuidText(server.clsid);
    id.libid = GuidText(server.libid);
    id.progId = server.progId;
    id.description = server.description;
    id.version = "1.0";
    return !id.clsid.empty() && !id.libid.empty() && ModulePath(id.modulePath);
}

HRESULT WriteEntry(const RegistryEntry& e)
{
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, e.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    if (e.hasValue) {
        rc = RegSetValueExA(key, e.valueName.empty() ? nullptr : e.valueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(e.value.c_str()),
                            static_cast<DWORD>(e.value.size() + 1));
    }
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

void RemoveEntry(const RegistryEntry& e)
{
    if (e.ownsKey) {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, e.key.c_str());
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, e.key.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, e.valueName.c_str());
        RegCloseKey(key);
    }
}

void RemoveTable(const std::vector<RegistryEntry>& table)
{
    for (auto it = table.rbegin(); it != table.rend(); ++it) RemoveEntry(*it);
}

void UnregisterTypeLib()
{
    ComPtr<ITypeLib> lib;
    if (FAILED(LoadModuleTypeLib(lib.Put()))) return;
    TLIBATTR* attr = nullptr;
    if (FAILED(lib->GetLibAttr(&attr))) return;
    UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                      attr->syskind);
    lib->ReleaseTLibAttr(attr);
}

} // namespace

HRESULT LoadModuleTypeLib(ITypeLib** lib)
{
    wchar_t path[MAX_PATH + 1];
    DWORD n = GetModuleFileNameW(vxcom::ModuleHandle(), path, MAX_PATH + 1);
    if (n == 0 || n >= MAX_PATH) return E_FAIL;
    return LoadTypeLibEx(path, REGKIND_NONE, lib);
}

HRESULT RegisterServer(const ServerDescription& server)
{
    ServerIdentity id;
    if (!Identity(server, id)) return SELFREG_E_CLASS;
    const std::vector<RegistryEntry> table = ControlRegistryTable(id);
    for (const RegistryEntry& e : table) {
        HRESULT hr = WriteEntry(e);
        if (FAILED(hr)) {
            RemoveTable(table);
            return SELFREG_E_CLASS;
        }
    }
    ComPtr<ITypeLib> lib;
    HRESULT hr = LoadModuleTypeLib(lib.Put());
    if (SUCCEEDED(hr)) {
        Bstr path = Bstr::FromAnsi(id.modulePath.c_str());
        hr = RegisterTypeLib(lib.Get(), path.Get(), nullptr);
    }
    if (FAILED(hr)) {
        RemoveTable(table);
        return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

HRESULT UnregisterServer(const ServerDescription& server)
{
    ServerIdentity id;
    if (!Identity(server, id)) return SELFREG_E_CLASS;
    UnregisterTypeLib();
    RemoveTable(ControlRegistryTable(id));
    return S_OK;
}

} // namespace vxreg
