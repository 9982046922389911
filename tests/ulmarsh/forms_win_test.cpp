// The forms layer inside one process: layout from twips, texts from the
// string table, the tick list's notifications, close requests and the loop.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/forms_checklist_win.h"
#include "framework/forms_form_win.h"
#include "framework/forms_loop_win.h"
#include "framework/forms_menu_win.h"
#include "framework/forms_text_win.h"
#include "tests/ulmarsh/forms_test_resource.h"

#include <commctrl.h>

namespace {

using forms::Kind;

const forms::ControlSpec kControls[] = {
    {IDC_TEST_LABEL, Kind::Label, 150, 300, 1500, 255, IDC_TEST_LABEL},
    {IDC_TEST_FRAME, Kind::Frame, 1500, 1500, 3000, 3000, IDC_TEST_FRAME},
    {IDC_TEST_LIST, Kind::CheckList, 150, 300, 2700, 1500, 0, 0, IDC_TEST_FRAME,
     IDS_TEST_ITEM_FIRST, 3},
    {IDC_TEST_DISPLAY, Kind::DisplayBox, 150, 4800, 1500, 300},
    {IDC_TEST_COMBO, Kind::DropDownList, 1800, 300, 1500, 315, 0, 0, 0, IDS_TEST_ITEM_FIRST, 3},
    {IDC_TEST_BUTTON, Kind::DefaultButton, 3600, 300, 1200, 360, IDC_TEST_BUTTON,
     IDC_TEST_BUTTON + 500},
};

const forms::FormSpec kSpec = {"FormsTestForm", IDS_TEST_CAPTION, 6000, 5400, IDM_TEST_MENU,
                               kControls, sizeof kControls / sizeof kControls[0]};

class TestForm : public forms::Form {
public:
    TestForm() : forms::Form(GetModuleHandleA(nullptr), kSpec) {}
    int loads = 0;
    std::vector<int> checks;

protected:
    bool OnLoad() override {
        ++loads;
        OnItemCheck(IDC_TEST_LIST, [this](int item) { checks.push_back(item); });
        return true;
    }
};

RECT ChildRect(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(FormsForm, LayoutInTwipsAndTextsFromTheStringTable) {
    TestForm form;
    ASSERT_TRUE(form.Load(nullptr));
    RECT client;
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 360);
    EXPECT_EQ(forms::WindowText(form.hwnd()), "Forms Test");

    const RECT label = ChildRect(form.hwnd(), form.Item(IDC_TEST_LABEL));
    EXPECT_EQ(label.left, 10);
    EXPECT_EQ(label.top, 20);
    EXPECT_EQ(label.right - label.left, 100);
    EXPECT_EQ(label.bottom - label.top, 17);
    EXPECT_EQ(form.Text(IDC_TEST_LABEL), "Label text:");

    // Inside a frame, positions count from the frame's corner.
    const RECT list = ChildRect(form.hwnd(), form.Item(IDC_TEST_LIST));
    EXPECT_EQ(list.left, 110);
    EXPECT_EQ(list.top, 120);

    HWND combo = form.Item(IDC_TEST_COMBO);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
    form.Select(IDC_TEST_COMBO, 2);
    EXPECT_EQ(form.Selection(IDC_TEST_COMBO), 2);
    EXPECT_EQ(SendMessageA(form.Item(IDC_TEST_LIST), LB_GETCOUNT, 0, 0), 3);
}

TEST(FormsForm, DisplayBoxesAreGrey) {
    TestForm form;
    ASSERT_TRUE(form.Load(nullptr));
    HDC dc = GetDC(form.Item(IDC_TEST_DISPLAY));
    const LRESULT brush = SendMessageA(form.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(form.Item(IDC_TEST_DISPLAY)));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetBkColor(dc), forms::kDisplayBoxColour);
    LOGBRUSH lb{};
    GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, forms::kDisplayBoxColour);
    ReleaseDC(form.Item(IDC_TEST_DISPLAY), dc);
}

TEST(FormsCheckList, EveryTickChangeNotifiesOnce) {
    TestForm form;
    ASSERT_TRUE(form.Load(nullptr));
    HWND list = form.Item(IDC_TEST_LIST);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(list, WM_CHAR, ' ', 0);
    EXPECT_TRUE(forms::CheckListItemChecked(list, 1));
    SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(forms::CheckListItemChecked(list, 1));
    EXPECT_EQ(form.checks, (std::vector<int>{1, 1}));

    // A click on an item's tick box flips it; a click on its text only selects.
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM onBox = MAKELPARAM(4, 2 * height + height / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, onBox);
    SendMessageA(list, WM_LBUTTONUP, 0, onBox);
    EXPECT_TRUE(forms::CheckListItemChecked(list, 2));
    const LPARAM onText = MAKELPARAM(120, height / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, onText);
    SendMessageA(list, WM_LBUTTONUP, 0, onText);
    EXPECT_FALSE(forms::CheckListItemChecked(list, 0));
    EXPECT_EQ(form.checks, (std::vector<int>{1, 1, 2}));

    // Setting a tick from code tells nobody.
    forms::SetCheckListItem(list, 0, true);
    EXPECT_TRUE(forms::CheckListItemChecked(list, 0));
    EXPECT_EQ(form.checks.size(), 3u);
}

TEST(FormsForm, CloseRequestCanBeRefusedAndUnloadMakesAFreshForm) {
    TestForm form;
    ASSERT_TRUE(form.Load(nullptr));
    bool allow = false;
    int unloads = 0;
    form.onCloseRequest = [&] { return allow; };
    form.onUnload = [&] { ++unloads; };
    SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.Loaded());
    allow = true;
    SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(unloads, 1);

    ASSERT_TRUE(form.Load(nullptr));
    EXPECT_EQ(form.loads, 2);
    EXPECT_FALSE(forms::CheckListItemChecked(form.Item(IDC_TEST_LIST), 0));
}

TEST(FormsForm, ClicksAndMenuCommandsReachTheirHandlers) {
    TestForm form;
    ASSERT_TRUE(form.Load(nullptr));
    int clicks = 0;
    form.OnClick(IDC_TEST_BUTTON, [&] { ++clicks; });
    form.OnClick(IDM_TEST_OPTION, [&] { forms::ToggleMenuItemCheck(form.hwnd(), IDM_TEST_OPTION); });
    SendMessageA(form.Item(IDC_TEST_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(forms::MenuItemChecked(form.hwnd(), IDM_TEST_OPTION));
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_TEST_OPTION, 0), 0);
    EXPECT_TRUE(forms::MenuItemChecked(form.hwnd(), IDM_TEST_OPTION));
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDM_TEST_OPTION, 0), 0);
    EXPECT_FALSE(forms::MenuItemChecked(form.hwnd(), IDM_TEST_OPTION));
}

BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<std::pair<HWND, HWND>*>(param);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(hwnd, GW_OWNER) == found->first)
        found->second = hwnd;
    return TRUE;
}

TEST(FormsForm, ControlsWithATipIdGetTheirTooltip) {
    TestForm form;
    ASSERT_TRUE(form.Load(nullptr));
    std::pair<HWND, HWND> search{form.hwnd(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindTooltip, reinterpret_cast<LPARAM>(&search));
    ASSERT_TRUE(search.second);
    // One tool on the control, one on its place in the form.
    EXPECT_EQ(SendMessageA(search.second, TTM_GETTOOLCOUNT, 0, 0), 2);
    char text[80] = {};
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = form.hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(form.Item(IDC_TEST_BUTTON));
    ti.lpszText = text;
    SendMessageA(search.second, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(text, "Button tip");

    // Disabled, the control gets no mouse input; the form does, and the point
    // over the control still finds its tip there.
    form.Enable(IDC_TEST_BUTTON, false);
    const RECT r = ChildRect(form.hwnd(), form.Item(IDC_TEST_BUTTON));
    char hitText[80] = {};
    TTHITTESTINFOA hit{};
    hit.hwnd = form.hwnd();
    hit.pt = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    hit.ti.cbSize = TTTOOLINFOA_V1_SIZE;
    hit.ti.lpszText = hitText;
    ASSERT_TRUE(SendMessageA(search.second, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)));
    ti = hit.ti;
    ti.lpszText = hitText;
    SendMessageA(search.second, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(hitText, "Button tip");
    // Beside the control the form has no tip.
    hit.pt = POINT{r.left - 2, r.bottom + 2};
    EXPECT_FALSE(SendMessageA(search.second, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)));
}

TEST(FormsForm, EnterPressesTheDefaultButton) {
    TestForm form;
    ASSERT_TRUE(form.Load(nullptr));
    const LRESULT def = SendMessageA(form.hwnd(), DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(def), DC_HASDEFID);
    EXPECT_EQ(LOWORD(def), IDC_TEST_BUTTON);
}

TEST(FormsLoop, DoEventsServesTheQueueAndKeepsAQuit) {
    TestForm form;
    ASSERT_TRUE(form.Load(nullptr));
    int clicks = 0;
    form.OnClick(IDC_TEST_BUTTON, [&] { ++clicks; });
    PostMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(form.Item(IDC_TEST_BUTTON)));
    EXPECT_TRUE(forms::DoEvents());
    EXPECT_EQ(clicks, 1);

    PostQuitMessage(7);
    EXPECT_FALSE(forms::DoEvents());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
