// Watches the screen while a run that must show nothing goes on: every
// visible top-level window of another process that appears meanwhile is
// recorded, however briefly it shows.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace e2e {

class WindowWatch {
 public:
  WindowWatch();  // starts watching; windows already visible do not count
  ~WindowWatch();
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;

  // Stops watching; one line per window that appeared: "pid class 'title'".
  std::vector<std::string> Stop();

 private:
  static DWORD WINAPI Poll(void* self);
  void Look();

  std::set<HWND> known_;
  std::vector<std::string> appeared_;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
};

}  // namespace e2e
