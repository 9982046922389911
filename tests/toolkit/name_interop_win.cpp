// The controls as a script host drives them, for tests/toolkit/name_interop.py: every path is
// passed as the Unicode string the command line holds, never through a code page.
//   name_interop zip ARCHIVE FOLDER    adds "*.*" of FOLDER with recursion
//   name_interop unzip ARCHIVE DEST    extracts file spec "*.*" with recursion
// Prints the code pages ("code pages ACP OEM") and each message event ("message CODE"); the
// exit code is ReturnValue.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

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

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 4) return 202;
    const bool zip = lstrcmpW(argv[1], L"zip") == 0;
    std::printf("code pages %u %u\n", GetACP(), GetOEMCP());
    vxtest::RegisteredControls registration;
    registration.SetUp();
    const int result = Run(zip, argv[2], argv[3]);
    registration.TearDown();
    std::fflush(stdout);
    return result;
}
