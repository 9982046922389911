// Drives a real program from outside, as a user would: start it, find its windows, read its
// controls, press its buttons, and collect its exit code. Runs under Wine beside the program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Owns a started process; kills it on destruction if it still runs.
class Process {
 public:
  Process() = default;
  Process(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  bool valid() const { return process_ != nullptr; }
  DWORD pid() const { return pid_; }
  HANDLE handle() const { return process_; }
  // True when the process ended within the time; its exit code goes to *exitCode.
  bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);
  bool Running() const;
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

// Folder of the running test executable, with a trailing backslash; programs under test and
// the control DLLs are built into the same folder.
std::string BinDir();
std::string BinPath(const std::string& file);

// Starts `exe` with the command-line text `args` (the text after the program name).
Process Start(const std::string& exe, const std::string& args, const std::string& workDir = "");

struct WindowQuery {
  const char* className = nullptr;  // null: any class
  const char* title = nullptr;      // null: any title; exact match otherwise
  DWORD pid = 0;                    // 0: any process (also a child process of the program)
  bool visibleOnly = true;
};

HWND FindTopWindow(const WindowQuery& query);
HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs = 10000);
// Convenience: a visible top-level window of any process by class and/or title.
HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = 10000);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = 10000);
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

struct ControlInfo {
  HWND hwnd = nullptr;
  int id = 0;
  std::string className;
  std::string text;
  LONG style = 0;
  bool visible = false;
  bool enabled = false;
};

// Every descendant control of `parent`, in Z order, depth first.
std::vector<ControlInfo> ListControls(HWND parent);
HWND Control(HWND dialog, int id);

// Cross-process reads go through the wide messages: under Wine the narrow forms of some
// list messages return only the first character across processes.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
std::vector<std::string> ListBoxItems(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsVisible(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
std::string ClassName(HWND window);
DWORD WindowProcessId(HWND window);

// Presses a button the way a click does: only when it is visible and enabled. Posted, so a
// click that opens a modal dialog does not block the driver.
bool ClickButton(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
void SetChecked(HWND dialog, int id, bool checked);
void PostSystemCommand(HWND window, WPARAM command);
void PostClose(HWND window);
void PressKey(HWND window, UINT virtualKey);

// Writes the screen area of `window` (the whole screen when null) as a 24-bit BMP file.
bool SaveScreenshot(const std::string& bmpPath, HWND window = nullptr);
// When SUITE_SCREENSHOT_DIR is set, saves <dir>\<name>.bmp; otherwise does nothing.
void ScreenshotIfRequested(const std::string& name, HWND window = nullptr);

// Files and folders for test set-ups.
std::string MakeTempFolder(const std::string& prefix);
bool RemoveTree(const std::string& path);
bool WriteFile(const std::string& path, const std::string& content);
bool ReadFile(const std::string& path, std::string* content);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Profile strings of an INI file, read fresh each time.
std::string ReadIni(const std::string& file, const char* section, const char* key);

}  // namespace e2e
