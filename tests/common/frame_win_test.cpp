// The frame, dialog look and handle owners the installer-side programs share,
// exercised in this process so menus, focus and handles can be inspected.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "common/dialog_look_win.h"
#include "common/main_window_win.h"
#include "common/scoped_handles_win.h"

namespace {

const char kFrameClass[] = "CommonFrameTestClass";
const UINT kAboutItem = 2024;
const UINT kAboutCommand = 3024;

bool HandleIsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

// Dispatched, not only removed: a shown window's WM_PAINT stays queued until
// it is painted.
void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(RegisterFrameClass(GetModuleHandleA(nullptr), kFrameClass, DefWindowProcA, 1));
    }
    void TearDown() override {
        for (HWND window : windows_) {
            if (IsWindow(window)) DestroyWindow(window);
        }
        DrainMessages();
    }
    HWND Frame(bool topmost) {
        HWND window = CreateFrameWindow(GetModuleHandleA(nullptr), kFrameClass, topmost);
        windows_.push_back(window);
        return window;
    }
    std::vector<HWND> windows_;
};

TEST_F(FrameTest, FrameIsFixedSizeAndTopmostOnlyWhenAsked) {
    HWND plain = Frame(false);
    HWND topmost = Frame(true);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(topmost, nullptr);
    const LONG style = GetWindowLongA(plain, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_VISIBLE));
    EXPECT_TRUE(GetWindowLongA(plain, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(GetWindowLongA(plain, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongA(topmost, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(FrameExStyle(false), static_cast<DWORD>(WS_EX_DLGMODALFRAME));
    EXPECT_EQ(FrameExStyle(true), static_cast<DWORD>(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST));
}

TEST_F(FrameTest, SystemMenuEndsWithSeparatorAndAboutItemWithoutSizeAndMaximize) {
    HWND window = Frame(false);
    ASSERT_NE(window, nullptr);
    AddSystemMenuItem(window, kAboutItem, "&About this");
    HMENU menu = GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), kAboutItem);
    char label[64] = {};
    GetMenuStringA(menu, count - 1, label, sizeof label, MF_BYPOSITION);
    EXPECT_STREQ(label, "&About this");
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(FrameTest, AboutItemIsPassedOnAsCommandAndOtherSystemCommandsAreNot) {
    HWND window = Frame(false);
    ASSERT_NE(window, nullptr);
    DrainMessages();
    EXPECT_FALSE(HandleFrameMessage(window, WM_SYSCOMMAND, SC_CLOSE, nullptr, kAboutItem, kAboutCommand));
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));

    EXPECT_FALSE(HandleFrameMessage(window, WM_SYSCOMMAND, kAboutItem, nullptr, kAboutItem, kAboutCommand));
    ASSERT_TRUE(PeekMessageA(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.wParam, kAboutCommand);
    EXPECT_EQ(message.lParam, 0);
}

TEST_F(FrameTest, DestroyEndsTheRunAndFocusGoesToTheHostedDialog) {
    HWND window = Frame(false);
    ASSERT_NE(window, nullptr);
    HWND hosted = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, window, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hosted, nullptr);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    EXPECT_FALSE(HandleFrameMessage(window, WM_SETFOCUS, 0, hosted, kAboutItem, kAboutCommand));
    EXPECT_EQ(GetFocus(), hosted);
    // No hosted dialog: the focus stays where it is.
    EXPECT_FALSE(HandleFrameMessage(window, WM_SETFOCUS, 0, nullptr, kAboutItem, kAboutCommand));
    EXPECT_EQ(GetFocus(), hosted);

    DrainMessages();
    EXPECT_TRUE(HandleFrameMessage(window, WM_DESTROY, 0, nullptr, kAboutItem, kAboutCommand));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_FALSE(HandleFrameMessage(window, WM_PAINT, 0, nullptr, kAboutItem, kAboutCommand));
}

// A dialog of one default OK button, built in memory.
class ButtonDialog {
public:
    ButtonDialog() {
        Put<DLGTEMPLATE>({WS_POPUP, 0, 1, 0, 0, 100, 40});
        PutWords({0, 0, 0});  // no menu, default class, no title
        Align();
        Put<DLGITEMTEMPLATE>({WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 10, 10, 40, 14, IDOK});
        PutWords({0xFFFF, 0x0080, 'O', 'K', 0, 0});  // button class, "OK", no creation data
        window_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                            reinterpret_cast<const DLGTEMPLATE*>(buffer_.data()), nullptr,
                                            Procedure, 0);
    }
    ~ButtonDialog() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    ButtonDialog(const ButtonDialog&) = delete;
    ButtonDialog& operator=(const ButtonDialog&) = delete;
    HWND window() const { return window_; }
    static int& ok_commands() {
        static int count = 0;
        return count;
    }

private:
    static INT_PTR CALLBACK Procedure(HWND, UINT message, WPARAM wparam, LPARAM) {
        if (message == WM_INITDIALOG) return TRUE;
        if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
            ++ok_commands();
            return TRUE;
        }
        return FALSE;
    }
    template <typename T>
    void Put(const T& value) {
        const std::size_t at = buffer_.size();
        buffer_.resize(at + sizeof value);
        std::memcpy(buffer_.data() + at, &value, sizeof value);
    }
    void PutWords(std::initializer_list<WORD> words) {
        for (WORD word : words) Put(word);
    }
    void Align() {
        while (buffer_.size() % 4 != 0) buffer_.push_back(0);
    }
    std::vector<unsigned char> buffer_;  // the allocator aligns it for the template
    HWND window_ = nullptr;
};

HWND& HostedForLoop() {
    static HWND hosted = nullptr;
    return hosted;
}
HWND CurrentHosted() { return HostedForLoop(); }

int RunLoopWithEnterKey(HWND dialog, HWND hosted) {
    HostedForLoop() = hosted;
    PostMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0);
    PostQuitMessage(7);
    return RunFrameMessageLoop(CurrentHosted);
}

TEST(FrameMessageLoopTest, KeysReachTheHostedDialogAndTheQuitValueIsReturned) {
    ButtonDialog dialog;
    ASSERT_NE(dialog.window(), nullptr);
    DrainMessages();
    ButtonDialog::ok_commands() = 0;
    EXPECT_EQ(RunLoopWithEnterKey(dialog.window(), dialog.window()), 7);
    EXPECT_EQ(ButtonDialog::ok_commands(), 1);

    // Without a hosted dialog the key is only dispatched: Enter presses nothing.
    ButtonDialog::ok_commands() = 0;
    EXPECT_EQ(RunLoopWithEnterKey(dialog.window(), nullptr), 7);
    EXPECT_EQ(ButtonDialog::ok_commands(), 0);
}

TEST(DialogLookTest, ColourMessagesGetOneButtonFaceBrushAndTransparentText) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    SetBkMode(dc, OPAQUE);

    INT_PTR result = 12345;
    EXPECT_FALSE(HandleDialogColor(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), &result));
    EXPECT_FALSE(HandleDialogColor(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), &result));
    EXPECT_EQ(result, 12345);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);

    ASSERT_TRUE(HandleDialogColor(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), &result));
    const HBRUSH brush = reinterpret_cast<HBRUSH>(result);
    LOGBRUSH info = {};
    ASSERT_NE(GetObjectA(brush, sizeof info, &info), 0);
    EXPECT_EQ(info.lbColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

    SetBkMode(dc, OPAQUE);
    ASSERT_TRUE(HandleDialogColor(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), &result));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(result), brush);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ASSERT_TRUE(HandleDialogColor(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), &result));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(result), brush);

    // Deleting the brush at the end of a run frees it; a later message gets a
    // working one again.
    DeleteButtonFaceBrush();
    EXPECT_EQ(GetObjectA(brush, sizeof info, &info), 0);
    ASSERT_TRUE(HandleDialogColor(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), &result));
    ASSERT_NE(GetObjectA(reinterpret_cast<HBRUSH>(result), sizeof info, &info), 0);
    EXPECT_EQ(info.lbColor, GetSysColor(COLOR_BTNFACE));

    ReleaseDC(window, dc);
    DestroyWindow(window);
}

TEST(ScopedHandlesTest, OwnersCloseWhatTheyHoldOnceAndOnlyThat) {
    HANDLE raw = nullptr;
    {
        ScopedHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(event.ok());
        raw = event.get();
        // Handing out the slot closes the handle held before.
        HANDLE* slot = event.out();
        EXPECT_FALSE(HandleIsOpen(raw));
        EXPECT_FALSE(event.ok());
        *slot = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ASSERT_TRUE(event.ok());
        raw = event.get();
    }
    EXPECT_FALSE(HandleIsOpen(raw));

    ScopedHandle file(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    raw = file.get();
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(HandleIsOpen(raw));
    EXPECT_FALSE(file.ok());
    EXPECT_TRUE(file.Close());  // nothing left to close

    // A failed open (either form of "no handle") is never closed.
    EXPECT_FALSE(ScopedHandle(INVALID_HANDLE_VALUE).ok());
    EXPECT_FALSE(ScopedHandle(nullptr).ok());
    EXPECT_TRUE(ScopedHandle(nullptr).Close());

    HKEY key_raw = nullptr;
    {
        ScopedKey key;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.out()), ERROR_SUCCESS);
        key_raw = key.get();
        DWORD subkeys = 0;
        EXPECT_EQ(RegQueryInfoKeyA(key_raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    DWORD subkeys = 0;
    EXPECT_NE(RegQueryInfoKeyA(key_raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);

    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    ASSERT_TRUE(length > 0 && length < sizeof windows - 3);
    std::strcat(windows, "\\*");
    WIN32_FIND_DATAA data = {};
    {
        ScopedFind find(windows, data);
        ASSERT_TRUE(find.ok());
        raw = find.get();
        EXPECT_TRUE(FindNextFileA(raw, &data));
    }
    EXPECT_FALSE(FindNextFileA(raw, &data));
    WIN32_FIND_DATAA none = {};
    EXPECT_FALSE(ScopedFind("Z:\\no\\such\\folder\\*", none).ok());
}

TEST(ScopedHandlesTest, LibraryIsFreedWithItsOwner) {
    ASSERT_EQ(GetModuleHandleA("msacm32.dll"), nullptr);
    {
        ScopedLibrary library("msacm32.dll");
        ASSERT_NE(library.get(), nullptr);
        EXPECT_EQ(GetModuleHandleA("msacm32.dll"), library.get());
    }
    EXPECT_EQ(GetModuleHandleA("msacm32.dll"), nullptr);
    EXPECT_EQ(ScopedLibrary("no_such_library_here.dll").get(), nullptr);
}

}  // namespace
