// A small window with one control of each kind the driver reads; pressing the button ends the
// process with exit code 7, closing the window ends it with 3.
#include <windows.h>

namespace {

enum { kList = 100, kEdit = 101, kCheck = 102, kButton = 103 };

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kButton) {
        PostQuitMessage(7);
        return 0;
      }
      break;
    case WM_CLOSE:
      PostQuitMessage(3);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND AddChild(HWND parent, const char* cls, const char* text, DWORD style, int id, int y) {
  return CreateWindowA(cls, text, WS_CHILD | WS_VISIBLE | style, 10, y, 200, 24, parent,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA cls = {};
  cls.lpfnWndProc = FixtureProc;
  cls.hInstance = instance;
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = "DriverFixtureClass";
  RegisterClassA(&cls);
  HWND window = CreateWindowA("DriverFixtureClass", "Driver Fixture", WS_OVERLAPPEDWINDOW, 40,
                              40, 260, 220, nullptr, nullptr, instance, nullptr);
  HWND list = AddChild(window, "LISTBOX", "", WS_BORDER, kList, 10);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("C:\\Alpha\\one.txt"));
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("beta two"));
  AddChild(window, "EDIT", "edit text", WS_BORDER, kEdit, 40);
  HWND check = AddChild(window, "BUTTON", "Check", BS_AUTOCHECKBOX, kCheck, 70);
  SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
  AddChild(window, "BUTTON", "Press", BS_PUSHBUTTON, kButton, 100);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
