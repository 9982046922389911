#include "tests/driver/e2e_driver.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace e2e {

Process::Process(Process&& other) noexcept : process_(other.process_), pid_(other.pid_) {
  other.process_ = nullptr;
  other.pid_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Kill();
    if (process_) CloseHandle(process_);
    process_ = other.process_;
    pid_ = other.pid_;
    other.process_ = nullptr;
    other.pid_ = 0;
  }
  return *this;
}

Process::~Process() {
  Kill();
  if (process_) CloseHandle(process_);
}

bool Process::Wait(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_) return false;
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  if (exitCode) *exitCode = code;
  return true;
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void Process::Kill() {
  if (Running()) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
  }
}

std::string BinDir() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  size_t slash = dir.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".\\") : dir.substr(0, slash + 1);
}

std::string BinPath(const std::string& file) { return BinDir() + file; }

Process Start(const std::string& exe, const std::string& args, const std::string& workDir) {
  std::string commandLine = "\"" + exe + "\"";
  if (!args.empty()) commandLine += " " + args;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &startup, &info)) {
    return Process();
  }
  CloseHandle(info.hThread);
  return Process(info.hProcess, info.dwProcessId);
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

DWORD WindowProcessId(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

static std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), (int)wide.size(), nullptr, 0, nullptr,
                              nullptr);
  std::string text(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), (int)wide.size(), &text[0], n, nullptr, nullptr);
  return text;
}

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return std::string();
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, length + 1, (LPARAM)&text[0], SMTO_ABORTIFHUNG, 5000,
                      &copied);
  text.resize(copied);
  return Narrow(text);
}

struct FindState {
  const WindowQuery* query;
  HWND found;
};

static BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  const WindowQuery& q = *state->query;
  if (q.visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (q.pid && WindowProcessId(window) != q.pid) return TRUE;
  if (q.className && lstrcmpiA(ClassName(window).c_str(), q.className) != 0) return TRUE;
  if (q.title && WindowText(window) != q.title) return TRUE;
  state->found = window;
  return FALSE;
}

HWND FindTopWindow(const WindowQuery& query) {
  FindState state = {&query, nullptr};
  EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(50);
  }
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(query)) != nullptr; }, timeoutMs);
  return found;
}

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
  WindowQuery query;
  query.className = className;
  query.title = title;
  return WaitForWindow(query, timeoutMs);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

static BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* list = reinterpret_cast<std::vector<ControlInfo>*>(param);
  ControlInfo info;
  info.hwnd = child;
  info.id = GetDlgCtrlID(child);
  info.className = ClassName(child);
  info.text = WindowText(child);
  info.style = GetWindowLongA(child, GWL_STYLE);
  info.visible = IsWindowVisible(child) != FALSE;
  info.enabled = IsWindowEnabled(child) != FALSE;
  list->push_back(info);
  return TRUE;
}

std::vector<ControlInfo> ListControls(HWND parent) {
  std::vector<ControlInfo> list;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&list));
  return list;
}

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

std::string ControlText(HWND dialog, int id) {
  HWND control = Control(dialog, id);
  return control ? WindowText(control) : std::string();
}

std::vector<std::string> ListBoxItems(HWND dialog, int id) {
  std::vector<std::string> items;
  HWND list = Control(dialog, id);
  if (!list) return items;
  LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    if (length < 0) length = 0;
    std::wstring text(length + 1, L'\0');
    LRESULT copied = SendMessageW(list, LB_GETTEXT, i, (LPARAM)&text[0]);
    text.resize(copied < 0 ? 0 : copied);
    items.push_back(Narrow(text));
  }
  return items;
}

bool IsChecked(HWND dialog, int id) {
  HWND control = Control(dialog, id);
  return control && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsVisible(HWND dialog, int id) {
  HWND control = Control(dialog, id);
  return control && IsWindowVisible(control);
}

bool IsEnabled(HWND dialog, int id) {
  HWND control = Control(dialog, id);
  return control && IsWindowEnabled(control);
}

bool ClickButton(HWND dialog, int id) {
  HWND button = Control(dialog, id);
  if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
  return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button) != FALSE;
}

void SetControlText(HWND dialog, int id, const std::string& text) {
  HWND control = Control(dialog, id);
  if (!control) return;
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
  SendMessageW(control, WM_SETTEXT, 0, (LPARAM)wide.c_str());
}

void SetChecked(HWND dialog, int id, bool checked) {
  if (IsChecked(dialog, id) == checked) return;
  HWND button = Control(dialog, id);
  if (button) SendMessageA(button, BM_CLICK, 0, 0);
}

void PostSystemCommand(HWND window, WPARAM command) {
  PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

void PostClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void PressKey(HWND window, UINT virtualKey) {
  PostMessageA(window, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(window, WM_KEYUP, virtualKey, 0xC0000001);
}

namespace {

struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() { ReleaseDC(nullptr, dc); }
};

struct MemoryDc {
  HDC dc;
  explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
  ~MemoryDc() { DeleteDC(dc); }
};

struct GdiObject {
  HGDIOBJ object;
  ~GdiObject() {
    if (object) DeleteObject(object);
  }
};

}  // namespace

bool SaveScreenshot(const std::string& bmpPath, HWND window) {
  RECT area;
  if (window) {
    if (!GetWindowRect(window, &area)) return false;
  } else {
    area.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    area.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    area.right = area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    area.bottom = area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  }
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;

  ScreenDc screen;
  MemoryDc memory(screen.dc);
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap{CreateDIBSection(screen.dc, reinterpret_cast<BITMAPINFO*>(&header),
                                    DIB_RGB_COLORS, &bits, nullptr, 0)};
  if (!bitmap.object) return false;
  HGDIOBJ old = SelectObject(memory.dc, bitmap.object);
  BitBlt(memory.dc, 0, 0, width, height, screen.dc, area.left, area.top, SRCCOPY);
  SelectObject(memory.dc, old);
  GdiFlush();

  DWORD stride = ((width * 3) + 3) & ~3u;
  DWORD imageSize = stride * height;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + imageSize;
  header.biSizeImage = imageSize;
  std::unique_ptr<FILE, int (*)(FILE*)> out(fopen(bmpPath.c_str(), "wb"), fclose);
  if (!out) return false;
  fwrite(&file, sizeof(file), 1, out.get());
  fwrite(&header, sizeof(header), 1, out.get());
  fwrite(bits, 1, imageSize, out.get());
  return true;
}

void ScreenshotIfRequested(const std::string& name, HWND window) {
  const char* dir = getenv("SUITE_SCREENSHOT_DIR");
  if (!dir || !*dir) return;
  Sleep(300);  // let the window finish painting
  SaveScreenshot(std::string(dir) + "\\" + name + ".bmp", window);
}

std::string MakeTempFolder(const std::string& prefix) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    char name[MAX_PATH];
    snprintf(name, sizeof(name), "%s%s-%lu-%u", base, prefix.c_str(), GetCurrentProcessId(),
             ++counter);
    if (CreateDirectoryA(name, nullptr)) return name;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
  }
}

bool RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool WriteFile(const std::string& path, const std::string& content) {
  std::unique_ptr<FILE, int (*)(FILE*)> out(fopen(path.c_str(), "wb"), fclose);
  if (!out) return false;
  return fwrite(content.data(), 1, content.size(), out.get()) == content.size();
}

bool ReadFile(const std::string& path, std::string* content) {
  std::unique_ptr<FILE, int (*)(FILE*)> in(fopen(path.c_str(), "rb"), fclose);
  if (!in) return false;
  content->clear();
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), in.get())) > 0) content->append(buffer, n);
  return true;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadIni(const std::string& file, const char* section, const char* key) {
  char value[1024] = {};
  GetPrivateProfileStringA(section, key, "", value, sizeof(value), file.c_str());
  return value;
}

}  // namespace e2e
