// A running ulmarsh driven from outside, with the archives made for the tests.
#pragma once

#include <windows.h>

#include <string>

#include "tests/driver/e2e_driver.h"

namespace ulmarsh_e2e {

// Registers the unzip and status controls from the test's bin folder.
bool RegisterControls();

// Path of a file made by make_fixtures.sh.
std::string Fixture(const std::string& name);

// True when one of the message box's texts holds `part`.
bool MessageSays(HWND message, const std::string& part);

// While alive, the status control's class is served by the stand-in
// ulmarsh_refusing_status.dll, which refuses to show the item name
// "zipstring"; VXSTATUS.DLL is registered again afterwards. Benches started
// meanwhile host the stand-in as both status displays.
class RefusingStatusControl {
public:
    RefusingStatusControl();
    ~RefusingStatusControl();
    RefusingStatusControl(const RefusingStatusControl&) = delete;
    RefusingStatusControl& operator=(const RefusingStatusControl&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

class BenchSession {
public:
    BenchSession();
    ~BenchSession();

    HWND main() const { return main_; }
    DWORD pid() const { return process_.pid(); }
    e2e::Process& process() { return process_; }

    void SetText(int id, const std::string& text) { e2e::SetControlText(main_, id, text); }
    std::string Text(int id) const { return e2e::ControlText(main_, id); }
    void SelectFunction(int position);
    // Ticks item `index` of the options list with the keyboard, as a user would.
    void TickOption(int index);
    bool OptionTicked(int index) const;
    // Presses "UnZIP"; the run is over when the Return Value box is filled.
    void StartRun();
    bool WaitForRunEnd(DWORD timeoutMs = 10000);
    // A top-level window of the bench by class name (forms) or "#32770" (messages).
    HWND WaitForForm(const char* className, DWORD timeoutMs = 10000) const;
    void Command(UINT menuId);

private:
    e2e::Process process_;
    HWND main_ = nullptr;
};

}  // namespace ulmarsh_e2e
