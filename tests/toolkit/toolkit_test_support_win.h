// Helpers of the control tests under Wine: fixture paths, registration of
// the control DLLs next to the test, files, and a recording event handler.
#pragma once

#include "framework/control_host.h"
#include "framework/vxcontrols.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vxtest {

// Windows path of the fixture folder made by make_archives.sh (VX_FIXTURES).
std::string FixtureDir();
std::string Fixture(const std::string& relative);
// A fresh empty folder below the fixture folder.
std::string FreshFolder(const std::string& name);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Folder of the running test program (where the DLLs are built).
std::string ProgramDir();

// Calls DllRegisterServer/DllUnregisterServer of a DLL beside the test.
HRESULT CallServerEntry(const char* dll, const char* entry);

// Registers the three controls for the whole test program and removes them at the end.
class RegisteredControls : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
};

// Records every event and answers as the test asks.
struct EventLog : vx::EventHandlers {
    struct Status {
        std::string text;
        long percent;
    };
    std::vector<Status> major, minor;
    std::vector<long> messageCodes;
    std::vector<std::string> renamedOriginals;
    std::function<void(BSTR* text, long* percent, long* cancel)> onMinor;
    std::function<void(BSTR* text, long* percent, long* cancel)> onMajor;
    std::function<void(long* code, BSTR* title, long* response)> onMessage;
    std::function<void(BSTR* name, long* date, long* time, long* attributes, long* response)>
        onRename;

    void MajorStatusEvent(BSTR* text, long* percent, long* cancel) override;
    void MinorStatusEvent(BSTR* text, long* percent, long* cancel) override;
    void MessageEvent(long* code, long*, long*, long*, BSTR*, BSTR* title, long* response) override;
    void RenameEvent(BSTR* name, long* date, long* time, long* attributes, BSTR* original,
                     long* response) override;
};

// A hidden top-level window with a hosted control and its events connected.
class HostedControl {
public:
    HostedControl(const char* progId, EventLog* events, bool visible = false,
                  const std::string& state = std::string());
    ~HostedControl();
    IDispatch* Dispatch() const { return site_.Dispatch(); }
    vx::ControlSite& Site() { return site_; }
    HWND Host() const { return host_; }

private:
    HWND host_ = nullptr;
    vx::ControlSite site_;
};

} // namespace vxtest
