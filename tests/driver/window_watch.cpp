#include "tests/driver/window_watch.h"

#include "tests/driver/e2e_driver.h"

namespace e2e {

namespace {

BOOL CALLBACK AddIfVisible(HWND window, LPARAM found) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleTopWindows() {
  std::vector<HWND> windows;
  EnumWindows(AddIfVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

WindowWatch::WindowWatch() {
  for (HWND window : VisibleTopWindows()) known_.insert(window);
  stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, Poll, this, 0, nullptr);
}

WindowWatch::~WindowWatch() { Stop(); }

DWORD WINAPI WindowWatch::Poll(void* self) {
  WindowWatch* watch = static_cast<WindowWatch*>(self);
  // A message box shows for as long as nobody answers it; a window that
  // only flashes is caught by polling faster than anyone could read it.
  do {
    watch->Look();
  } while (WaitForSingleObject(watch->stop_, 5) == WAIT_TIMEOUT);
  return 0;
}

void WindowWatch::Look() {
  for (HWND window : VisibleTopWindows()) {
    if (!known_.insert(window).second) continue;
    const DWORD pid = WindowProcessId(window);
    if (pid == GetCurrentProcessId()) continue;
    appeared_.push_back(std::to_string(pid) + " " + ClassName(window) + " '" + WindowText(window) + "'");
  }
}

std::vector<std::string> WindowWatch::Stop() {
  if (thread_ != nullptr) {
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(stop_);
    thread_ = nullptr;
    stop_ = nullptr;
    Look();  // one last look, after the thread is gone
  }
  return appeared_;
}

}  // namespace e2e
