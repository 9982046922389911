// Self-registration of the three control DLLs: what it writes, that COM finds
// the classes by ProgID, and that unregistration restores the registry.
#include "tests/toolkit/toolkit_test_support_win.h"

#include <algorithm>

using namespace vxtest;

namespace {

// Every key and value below `path` of HKEY_CLASSES_ROOT, as text; "" when absent.
std::string DumpKey(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    std::string out = "[" + path + "]\n";
    std::vector<std::string> values;
    char name[256];
    BYTE data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = sizeof name, dataLen = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameLen, nullptr, &type, data, &dataLen) != ERROR_SUCCESS)
            break;
        values.push_back(std::string(name) + "=" + std::to_string(type) + ":" +
                         std::string(reinterpret_cast<char*>(data), dataLen));
    }
    std::sort(values.begin(), values.end());
    for (const auto& v : values) out += v + "\n";
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        DWORD nameLen = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(key);
    std::sort(children.begin(), children.end());
    for (const auto& c : children) out += DumpKey(path + "\\" + c);
    return out;
}

std::string GuidText(const GUID& g)
{
    wchar_t wide[40];
    StringFromGUID2(g, wide, 40);
    return BstrToAnsi(Bstr(wide).Get());
}

struct Server {
    const char* dll;
    const char* progId;
    const CLSID* clsid;
    const char* libid;
};

const Server kServers[] = {
    {"VXUNZIP.DLL", vx::kUnzipProgId, &vx::CLSID_vxunzipctrl, "{D88AEC66-C49E-4922-B6C0-2869344F61C2}"},
    {"VXZIP.DLL", vx::kZipProgId, &vx::CLSID_vxzipctrl, "{771223F8-6060-4DBA-B991-9AFD0929865B}"},
    {"VXSTATUS.DLL", vx::kStatusProgId, &vx::CLSID_vxstatusctrl, "{7A74E0B9-4D8A-4DBB-8C86-0293327EE7B1}"},
};

std::string Snapshot()
{
    std::string all;
    for (const Server& s : kServers) {
        all += DumpKey(std::string("CLSID\\") + GuidText(*s.clsid));
        all += DumpKey(s.progId);
        all += DumpKey(std::string("TypeLib\\") + s.libid);
    }
    for (const IID* events : {&vx::DIID_vxunzipEvents, &vx::DIID_vxzipEvents})
        all += DumpKey("Interface\\" + GuidText(*events));
    return all;
}

TEST(Registration, RegistersClassProgIdServerAndTypeLibraryThenRestoresTheRegistry)
{
    CoInitialize(nullptr);
    // Start from an unregistered state (an earlier, interrupted run may have left entries).
    const bool wasRegistered = !Snapshot().empty();
    for (const Server& s : kServers) ASSERT_EQ(S_OK, CallServerEntry(s.dll, "DllUnregisterServer"));
    const std::string before = Snapshot();
    EXPECT_EQ("", before);
    for (const Server& s : kServers) {
        SCOPED_TRACE(s.dll);
        ASSERT_EQ(S_OK, CallServerEntry(s.dll, "DllRegisterServer"));
        const std::string cls = std::string("CLSID\\") + GuidText(*s.clsid);
        const std::string dump = DumpKey(cls);
        EXPECT_NE(std::string::npos, dump.find("ThreadingModel=1:Apartment"));
        EXPECT_NE(std::string::npos, dump.find(ProgramDir() + "\\" + s.dll));
        EXPECT_NE(std::string::npos, dump.find(std::string("=1:") + s.progId));
        EXPECT_NE(std::string::npos, dump.find(std::string("=1:") + s.libid));
        EXPECT_NE(std::string::npos, dump.find("[" + cls + "\\Control]"));

        CLSID found;
        ASSERT_EQ(S_OK, CLSIDFromProgID(Bstr::FromAnsi(s.progId).Get(), &found));
        EXPECT_TRUE(IsEqualCLSID(*s.clsid, found));
        GUID libid;
        CLSIDFromString(Bstr::FromAnsi(s.libid).Get(), &libid);
        ComPtr<ITypeLib> lib;
        EXPECT_EQ(S_OK, LoadRegTypeLib(libid, 1, 0, 0, lib.Put()));

        ComPtr<IDispatch> control;
        EXPECT_EQ(S_OK, CoCreateInstance(*s.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                         control.PutVoid()));
    }
    EXPECT_NE(before, Snapshot());
    // A second registration changes nothing.
    const std::string registered = Snapshot();
    for (const Server& s : kServers) ASSERT_EQ(S_OK, CallServerEntry(s.dll, "DllRegisterServer"));
    EXPECT_EQ(registered, Snapshot());

    for (const Server& s : kServers) EXPECT_EQ(S_OK, CallServerEntry(s.dll, "DllUnregisterServer"));
    EXPECT_EQ(before, Snapshot());
    // Unregistering what is not registered succeeds and changes nothing.
    for (const Server& s : kServers) EXPECT_EQ(S_OK, CallServerEntry(s.dll, "DllUnregisterServer"));
    EXPECT_EQ(before, Snapshot());
    if (wasRegistered)
        for (const Server& s : kServers) CallServerEntry(s.dll, "DllRegisterServer");
    CoUninitialize();
}

} // namespace
