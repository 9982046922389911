// A running corvane driven from outside, and the fixture files of its tests.
#pragma once

#include "tests/driver/e2e_driver.h"

#include <set>
#include <string>
#include <vector>

namespace corvane_e2e {

bool RegisterControls();
bool UnregisterControl(const char* dll);
// Windows path of a file or folder under the test fixtures.
std::string Fixture(const std::string& name);
// Empty output folder `name` under the fixtures' out folder.
std::string FreshOutputFolder(const std::string& name);
bool SameFileContents(const std::string& a, const std::string& b);

class Session {
public:
    Session();
    ~Session();

    HWND Main() const { return main_; }
    e2e::Process& Process() { return process_; }

    void SetText(int id, const std::string& text);
    void SetChecked(int id, bool checked);
    // Clicks a job button once it is enabled and waits until the dialog enables it again.
    bool Click(int id);

    // Starts one job and waits until it has ended, so jobs writing the same
    // files never overlap. False when a message box shows or it does not end.
    bool RunOneJob(int button, const char* statusTitle);
    // Ids of the program's threads.
    std::set<DWORD> Threads() const;

    // Visible top-level windows of the program with this caption.
    std::vector<HWND> Windows(const char* title) const;
    HWND WaitForNewWindow(const char* title, const std::set<HWND>& known, DWORD timeoutMs = 15000) const;
    bool WaitUntilNoWindow(const char* title, DWORD timeoutMs = 60000) const;
    // A message box of the program (titled "corvane") showing `text`.
    HWND FindMessageBox(const std::string& text) const;
    HWND WaitForMessageBox(const std::string& text, DWORD timeoutMs = 15000) const;
    // Any message box of the program, or null.
    HWND AnyMessageBox() const;
    void CloseMessageBox(HWND box);

private:
    e2e::Process process_;
    HWND main_ = nullptr;
};

} // namespace corvane_e2e
