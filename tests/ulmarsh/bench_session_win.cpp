#include "tests/ulmarsh/bench_session_win.h"

#include "framework/vxcontrols.h"
#include "ulmarsh/resource.h"

namespace ulmarsh_e2e {
namespace {

bool RegisterServer(const char* dll) {
    HMODULE module = LoadLibraryA(e2e::BinPath(dll).c_str());
    if (!module) return false;
    using Register = HRESULT(STDAPICALLTYPE*)();
    auto reg = reinterpret_cast<Register>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    const bool ok = reg && SUCCEEDED(reg());
    FreeLibrary(module);
    return ok;
}

}  // namespace

bool RegisterControls() { return RegisterServer("VXUNZIP.DLL") && RegisterServer("VXSTATUS.DLL"); }

std::string Fixture(const std::string& name) {
    return e2e::BinPath("ulmarsh_fixtures\\" + name);
}

bool MessageSays(HWND message, const std::string& part) {
    for (const auto& c : e2e::ListControls(message))
        if (c.text.find(part) != std::string::npos) return true;
    return false;
}

RefusingStatusControl::RefusingStatusControl() {
    wchar_t wide[64];
    char clsid[64];
    if (!StringFromGUID2(vx::CLSID_vxstatusctrl, wide, 64) ||
        !WideCharToMultiByte(CP_ACP, 0, wide, -1, clsid, sizeof clsid, nullptr, nullptr))
        return;
    const std::string key = std::string("CLSID\\") + clsid + "\\InprocServer32";
    const std::string dll = e2e::BinPath("ulmarsh_refusing_status.dll");
    if (!e2e::FileExists(dll)) return;
    ok_ = RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, dll.c_str(),
                       static_cast<DWORD>(dll.size())) == ERROR_SUCCESS;
}

RefusingStatusControl::~RefusingStatusControl() { RegisterControls(); }

BenchSession::BenchSession() {
    process_ = e2e::Start(e2e::BinPath("ulmarsh.exe"), "");
    e2e::WindowQuery q;
    q.className = "UlmarshMainForm";
    q.pid = process_.pid();
    main_ = e2e::WaitForWindow(q, 15000);
}

BenchSession::~BenchSession() {
    if (main_ && IsWindow(main_)) e2e::PostClose(main_);
    if (!process_.Wait(5000)) process_.Kill();
}

void BenchSession::SelectFunction(int position) {
    SendMessageA(e2e::Control(main_, IDC_VXFUNCTION), CB_SETCURSEL, position, 0);
}

void BenchSession::TickOption(int index) {
    HWND list = e2e::Control(main_, IDC_MOREOPTIONS);
    SendMessageA(list, LB_SETCURSEL, index, 0);
    e2e::PressKey(list, VK_SPACE);
    e2e::WaitUntil([&] { return OptionTicked(index); }, 3000);
}

bool BenchSession::OptionTicked(int index) const {
    return SendMessageA(e2e::Control(main_, IDC_MOREOPTIONS), LB_GETITEMDATA, index, 0) == 1;
}

void BenchSession::StartRun() {
    SetText(IDC_RETURNVALUE, "");
    e2e::ClickButton(main_, IDC_VXUNZIPBTN);
}

bool BenchSession::WaitForRunEnd(DWORD timeoutMs) {
    return e2e::WaitUntil([&] { return !Text(IDC_RETURNVALUE).empty(); }, timeoutMs);
}

HWND BenchSession::WaitForForm(const char* className, DWORD timeoutMs) const {
    e2e::WindowQuery q;
    q.className = className;
    q.pid = process_.pid();
    return e2e::WaitForWindow(q, timeoutMs);
}

void BenchSession::Command(UINT menuId) { PostMessageA(main_, WM_COMMAND, menuId, 0); }

}  // namespace ulmarsh_e2e
