// The unzip test bench: the main form is the start-up form; the program ends
// when it is unloaded.
#include <windows.h>

#include <commctrl.h>

#include "framework/forms_loop_win.h"
#include "ulmarsh/main_form_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    int exitCode = 1;
    {
        ulmarsh::MainForm main(instance);
        main.QuitOnUnload(true);
        if (!main.Load(nullptr)) return exitCode;
        main.Show();
        exitCode = forms::RunMessageLoop();
    }
    return exitCode;
}
