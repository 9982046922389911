// The controls as a script host drives them, for tests/toolkit/name_interop.py: every path is
// passed as the Unicode string the command line holds, never through a code page.
//   name_interop zip ARCHIVE FOLDER    adds "*.*" of FOLDER with recursion
//   name_interop unzip ARCHIVE DEST    extracts file spec "*.*" with recursion
//   name_interop add ARCHIVE ITEM SPELLING
//                                      adds ITEM (a name in the archive's folder) to ARCHIVE,
//                                      named by SPELLING: long, short (8.3), relative (from
//                                      its folder, lower case) or case (upper case, '/')
//   name_interop register | unregister the controls, for runs of "add" side by side (which
//                                      leave them registered)
// Prints the code pages ("code pages ACP OEM") and each message event ("message CODE"); the
// exit code is ReturnValue.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "tests/toolkit/toolkit_test_support_win.h"

namespace {

HRESULT PutText(IDispatch* control, DISPID id, const wchar_t* text)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(text);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    const HRESULT hr = control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    VariantClear(&value);
    return hr;
}

int Run(bool zip, const wchar_t* archive, const wchar_t* folder)
{
    vxtest::EventLog events;
    // Questions get "no": nothing may wait for a user.
    events.onMessage = [](long* code, BSTR*, long* response) {
        std::printf("message %ld\n", *code);
        *response = 2;
    };
    vxtest::HostedControl host(zip ? vx::kZipProgId : vx::kUnzipProgId, &events);
    IDispatch* control = host.Dispatch();
    if (!control) return 200;
    long result = -1;
    if (zip) {
        Cvxzipctrl ctl;
        ctl.Attach(control);
        if (!SetCurrentDirectoryW(folder)) return 201;
        PutText(control, vx::zip::ZIPFile, archive);
        PutText(control, vx::zip::ItemList, L"*.*");
        ctl.SetRecurseFlag(true);
        ctl.SetAction(vx::zip::Add);
        result = ctl.GetReturnValue();
    } else {
        Cvxunzipctrl ctl;
        ctl.Attach(control);
        PutText(control, vx::unzip::ZIPFile, archive);
        PutText(control, vx::unzip::Destination, folder);
        PutText(control, vx::unzip::FileSpec, L"*.*");
        ctl.SetRecurseFlag(true);
        ctl.SetQuietFlag(true);
        ctl.SetAction(vx::unzip::Extract);
        result = ctl.GetReturnValue();
    }
    return static_cast<int>(result);
}

std::wstring ArchiveSpelling(const std::wstring& archive, const std::wstring& spelling)
{
    const size_t sep = archive.find_last_of(L"\\/");
    const std::wstring folder = archive.substr(0, sep + 1), name = archive.substr(sep + 1);
    std::wstring out = archive;
    if (spelling == L"short") {
        wchar_t shortPath[MAX_PATH];
        const DWORD n = GetShortPathNameW(folder.c_str(), shortPath, MAX_PATH);
        if (n > 0 && n < MAX_PATH) out = shortPath + name;
        const DWORD whole = GetShortPathNameW(archive.c_str(), shortPath, MAX_PATH);
        if (whole > 0 && whole < MAX_PATH) out = shortPath;
    } else if (spelling == L"relative") {
        out = name;
        CharLowerBuffW(&out[0], static_cast<DWORD>(out.size()));
    } else if (spelling == L"case") {
        CharUpperBuffW(&out[0], static_cast<DWORD>(out.size()));
        for (wchar_t& c : out)
            if (c == L'\\') c = L'/';
    }
    return out;
}

int Add(const std::wstring& archive, const wchar_t* item, const std::wstring& spelling)
{
    vxtest::EventLog events;
    events.onMessage = [](long* code, BSTR*, long* response) {
        std::printf("message %ld\n", *code);
        *response = 2;
    };
    const size_t sep = archive.find_last_of(L"\\/");
    if (!SetCurrentDirectoryW(archive.substr(0, sep + 1).c_str())) return 201;
    const std::wstring named = ArchiveSpelling(archive, spelling);
    std::printf("archive %ls\n", named.c_str());
    vxtest::HostedControl host(vx::kZipProgId, &events);
    if (!host.Dispatch()) return 200;
    Cvxzipctrl ctl;
    ctl.Attach(host.Dispatch());
    PutText(host.Dispatch(), vx::zip::ZIPFile, named.c_str());
    PutText(host.Dispatch(), vx::zip::ItemList, item);
    ctl.SetAction(vx::zip::Add);
    return static_cast<int>(ctl.GetReturnValue());
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 202;
    vxtest::RegisteredControls registration;
    if (lstrcmpW(argv[1], L"register") == 0 || lstrcmpW(argv[1], L"unregister") == 0) {
        if (argv[1][0] == L'r') {
            registration.SetUp();
        } else {
            CoInitialize(nullptr);
            registration.TearDown();
        }
        return 0;
    }
    if (lstrcmpW(argv[1], L"add") == 0) {
        if (argc != 5) return 202;
        CoInitialize(nullptr);
        const int result = Add(argv[2], argv[3], argv[4]);
        CoUninitialize();
        std::fflush(stdout);
        return result;
    }
    if (argc != 4) return 202;
    const bool zip = lstrcmpW(argv[1], L"zip") == 0;
    std::printf("code pages %u %u\n", GetACP(), GetOEMCP());
    registration.SetUp();
    const int result = Run(zip, argv[2], argv[3]);
    registration.TearDown();
    std::fflush(stdout);
    return result;
}
