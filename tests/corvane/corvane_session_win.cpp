#include "tests/corvane/corvane_session_win.h"

#include <windows.h>
#include <tlhelp32.h>

namespace corvane_e2e {
namespace {

const char kMainTitle[] = "Varnex-32 Multi-Thread ActiveX Sample";

bool CallServer(const char* dll, const char* entry)
{
    HMODULE module = LoadLibraryA(e2e::BinPath(dll).c_str());
    if (!module)
        return false;
    using Register = HRESULT(STDAPICALLTYPE*)();
    auto reg = reinterpret_cast<Register>(
        reinterpret_cast<void*>(GetProcAddress(module, entry)));
    const bool ok = reg && SUCCEEDED(reg());
    FreeLibrary(module);
    return ok;
}

struct WindowSearch {
    DWORD pid;
    const char* title;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (!IsWindowVisible(hwnd) || e2e::WindowProcessId(hwnd) != search->pid)
        return TRUE;
    if (search->title && e2e::WindowText(hwnd) != search->title)
        return TRUE;
    if (search->className && e2e::ClassName(hwnd) != search->className)
        return TRUE;
    search->found.push_back(hwnd);
    return TRUE;
}

} // namespace

bool RegisterControls()
{
    return CallServer("VXUNZIP.DLL", "DllRegisterServer") && CallServer("VXZIP.DLL", "DllRegisterServer");
}

bool UnregisterControl(const char* dll) { return CallServer(dll, "DllUnregisterServer"); }

std::string Fixture(const std::string& name) { return e2e::BinPath("corvane_fixtures\\" + name); }

std::string FreshOutputFolder(const std::string& name)
{
    const std::string out = Fixture("out");
    CreateDirectoryA(out.c_str(), nullptr);
    const std::string folder = out + "\\" + name;
    e2e::RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool SameFileContents(const std::string& a, const std::string& b)
{
    std::string left, right;
    return e2e::ReadFile(a, &left) && e2e::ReadFile(b, &right) && left == right;
}

Session::Session()
{
    process_ = e2e::Start(e2e::BinPath("corvane.exe"), "");
    e2e::WindowQuery query;
    query.title = kMainTitle;
    query.pid = process_.pid();
    main_ = e2e::WaitForWindow(query, 15000);
}

Session::~Session()
{
    if (HWND box = AnyMessageBox())
        CloseMessageBox(box);
    if (main_ && IsWindow(main_))
        e2e::ClickButton(main_, IDCANCEL);
    if (!process_.Wait(20000))
        process_.Kill();
}

void Session::SetText(int id, const std::string& text) { e2e::SetControlText(main_, id, text); }

void Session::SetChecked(int id, bool checked) { e2e::SetChecked(main_, id, checked); }

bool Session::Click(int id)
{
    const auto enabled = [&] { return e2e::IsEnabled(main_, id); };
    // The button is disabled while the program starts the job of an earlier click, which on a
    // loaded machine may still be under way.
    if (!e2e::WaitUntil(enabled, 10000) || !e2e::ClickButton(main_, id))
        return false;
    Sleep(50);
    return e2e::WaitUntil(enabled, 10000);
}

std::set<DWORD> Session::Threads() const
{
    std::set<DWORD> threads;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return threads;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == process_.pid())
            threads.insert(entry.th32ThreadID);
    CloseHandle(snapshot);
    return threads;
}

// The click returns once the job's thread exists. The job has ended when no
// thread has been added since before the click, when a thread added since has
// ended (others may stay), or when its status dialog came and went.
bool Session::RunOneJob(int button, const char* statusTitle)
{
    const std::set<DWORD> before = Threads();
    if (!Click(button))
        return false;
    bool dialogSeen = false;
    std::set<DWORD> started;
    for (DWORD id : Threads())
        if (!before.count(id))
            started.insert(id);
    if (started.empty())
        return AnyMessageBox() == nullptr;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        const bool shown = !Windows(statusTitle).empty();
        dialogSeen = dialogSeen || shown;
        const std::set<DWORD> now = Threads();
        bool oneEnded = false;
        for (DWORD id : started)
            oneEnded = oneEnded || !now.count(id);
        for (DWORD id : now)
            if (!before.count(id))
                started.insert(id);
        if (AnyMessageBox())
            return false;
        if (!shown && (dialogSeen || oneEnded))
            return true;
        Sleep(2);
    }
    return false;
}

std::vector<HWND> Session::Windows(const char* title) const
{
    WindowSearch search{process_.pid(), title, nullptr, {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Session::WaitForNewWindow(const char* title, const std::set<HWND>& known, DWORD timeoutMs) const
{
    HWND found = nullptr;
    e2e::WaitUntil(
        [&] {
            for (HWND hwnd : Windows(title))
                if (!known.count(hwnd)) {
                    found = hwnd;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

bool Session::WaitUntilNoWindow(const char* title, DWORD timeoutMs) const
{
    return e2e::WaitUntil([&] { return Windows(title).empty(); }, timeoutMs);
}

HWND Session::FindMessageBox(const std::string& text) const
{
    WindowSearch search{process_.pid(), "corvane", "#32770", {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    for (HWND box : search.found)
        for (const e2e::ControlInfo& control : e2e::ListControls(box))
            if (control.text == text)
                return box;
    return nullptr;
}

HWND Session::WaitForMessageBox(const std::string& text, DWORD timeoutMs) const
{
    HWND box = nullptr;
    e2e::WaitUntil([&] { return (box = FindMessageBox(text)) != nullptr; }, timeoutMs);
    return box;
}

HWND Session::AnyMessageBox() const
{
    WindowSearch search{process_.pid(), "corvane", "#32770", {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

void Session::CloseMessageBox(HWND box)
{
    e2e::ClickButton(box, IDOK);
    e2e::WaitForWindowGone(box, 5000);
}

} // namespace corvane_e2e
