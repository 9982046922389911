// The dialog procedures of the removal run. Modal dialogs are owned by the
// main window; the welcome dialog is its modeless child.
#pragma once

#include <windows.h>

INT_PTR CALLBACK WelcomeDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK ReviewDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK RemovalDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK NoticeDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Opens template 104, 105, 110 or 112 with NoticeDialog; returns its result.
INT_PTR ShowNotice(int template_id);
// Opens a modal dialog of the main window.
INT_PTR ShowModal(int template_id, DLGPROC procedure);
