#include "tests/toolkit/toolkit_test_support_win.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vxtest {

std::string FixtureDir()
{
    const char* unix = std::getenv("VX_FIXTURES");
    if (!unix || !*unix) return std::string();
    std::string path = std::string("Z:") + unix;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Fixture(const std::string& relative)
{
    std::string path = FixtureDir() + "\\" + relative;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

static void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

std::string FreshFolder(const std::string& name)
{
    std::string path = Fixture("work");
    CreateDirectoryA(path.c_str(), nullptr);
    path += "\\" + name;
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ProgramDir()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\'));
}

HRESULT CallServerEntry(const char* dll, const char* entry)
{
    HMODULE module = LoadLibraryA((ProgramDir() + "\\" + dll).c_str());
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    using Entry = HRESULT(WINAPI*)();
    auto fn = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
    HRESULT hr = fn ? fn() : E_NOINTERFACE;
    FreeLibrary(module);
    return hr;
}

namespace {
const char* const kControlDlls[] = {"VXUNZIP.DLL", "VXZIP.DLL", "VXSTATUS.DLL"};
const char* const kControlProgIds[] = {vx::kUnzipProgId, vx::kZipProgId, vx::kStatusProgId};
bool g_registeredBefore = false;

bool AllRegistered()
{
    for (const char* progId : kControlProgIds) {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(Bstr::FromAnsi(progId).Get(), &clsid))) return false;
    }
    return true;
}
} // namespace

// Other test programs may use the controls at the same time: a registration
// found at the start is left in place at the end.
void RegisteredControls::SetUp()
{
    CoInitialize(nullptr);
    g_registeredBefore = AllRegistered();
    for (const char* dll : kControlDlls)
        ASSERT_EQ(S_OK, CallServerEntry(dll, "DllRegisterServer")) << dll;
}

void RegisteredControls::TearDown()
{
    if (!g_registeredBefore)
        for (const char* dll : kControlDlls) CallServerEntry(dll, "DllUnregisterServer");
    CoUninitialize();
}

void EventLog::MajorStatusEvent(BSTR* text, long* percent, long* cancel)
{
    major.push_back({BstrToAnsi(*text), *percent});
    if (onMajor) onMajor(text, percent, cancel);
}

void EventLog::MinorStatusEvent(BSTR* text, long* percent, long* cancel)
{
    minor.push_back({BstrToAnsi(*text), *percent});
    if (onMinor) onMinor(text, percent, cancel);
}

void EventLog::MessageEvent(long* code, long*, long*, long*, BSTR*, BSTR* title, long* response)
{
    messageCodes.push_back(*code);
    if (onMessage) onMessage(code, title, response);
}

void EventLog::RenameEvent(BSTR* name, long* date, long* time, long* attributes, BSTR* original,
                           long* response)
{
    renamedOriginals.push_back(BstrToAnsi(*original));
    if (onRename) onRename(name, date, time, attributes, response);
}

HostedControl::HostedControl(const char* progId, EventLog* events, bool visible,
                             const std::string& state)
{
    host_ = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                            0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
    vx::ControlPlacement place;
    place.visible = visible;
    place.rect = RECT{10, 10, 210, 40};
    HRESULT hr = site_.CreateByProgId(host_, progId, place, state.empty() ? nullptr : state.data(),
                                      state.size());
    EXPECT_EQ(S_OK, hr) << progId;
    if (SUCCEEDED(hr) && events) {
        EXPECT_EQ(S_OK, site_.ConnectEvents([events](DISPID id, DISPPARAMS* p) {
            return vx::DispatchEvent(*events, id, p);
        }));
    }
}

HostedControl::~HostedControl()
{
    site_.Destroy();
    if (host_) DestroyWindow(host_);
}

} // namespace vxtest
