#include "corvane/corvane_app_win.h"

// The one application object; it lives in the program itself so the linker
// always keeps it.
CSampleApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(instance);
}
