// Status dialogs answering their control's events, in process: a text field
// changes only when its text does, the bars follow, a Cancel click reaches the
// control through the next status event, message events retitle or answer.
#include "corvane/corvane_app_win.h"
#include "corvane/resource.h"
#include "corvane/unzip_status_dlg_win.h"
#include "corvane/zip_status_dlg_win.h"
#include "framework/com_holders.h"
#include "framework/vxcontrols_ids.h"
#include "tests/corvane/corvane_session_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

// The status dialogs reach the job slot table through the application object.
CSampleApp testApp;

int setTextCount = 0;
WNDPROC editProc = nullptr;

LRESULT CALLBACK CountingEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        ++setTextCount;
    return CallWindowProcA(editProc, hwnd, message, wParam, lParam);
}

// Arguments of one event, by reference as the control passes them.
class EventArgs {
public:
    EventArgs()
    {
        // Reserved so the addresses handed to the handler stay put.
        strings_.reserve(8);
        numbers_.reserve(8);
    }
    ~EventArgs()
    {
        for (BSTR s : strings_)
            SysFreeString(s);
    }
    void Text(const char* text)
    {
        strings_.push_back(Bstr::FromAnsi(text).Release());
        Push(VT_BSTR | VT_BYREF).pbstrVal = &strings_.back();
    }
    void Number(long value)
    {
        numbers_.push_back(value);
        Push(VT_I4 | VT_BYREF).plVal = &numbers_.back();
    }
    long NumberAt(size_t i) const { return numbers_[i]; }
    std::string TextAt(size_t i) const { return BstrToAnsi(strings_[i]); }

    HRESULT Fire(CDialog& dialog, DISPID event)
    {
        std::vector<VARIANTARG> reversed(args_.rbegin(), args_.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        return CJobStatusDlg::ForwardEvent(dialog, event, &params);
    }

private:
    VARIANTARG& Push(VARTYPE type)
    {
        args_.emplace_back();
        VariantInit(&args_.back());
        V_VT(&args_.back()) = type;
        return args_.back();
    }
    std::vector<BSTR> strings_;
    std::vector<long> numbers_;
    std::vector<VARIANTARG> args_;
};

class StatusEventsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        AfxEnableControlContainer();
        ASSERT_TRUE(corvane_e2e::RegisterControls());
    }

    template <class Dialog>
    Dialog* Open()
    {
        auto* dialog = new Dialog(nullptr);
        if (!dialog->Create()) {
            delete dialog;
            return nullptr;
        }
        return dialog;
    }

    // One status event; returns the cancel argument as the handler left it.
    static long Status(CDialog& dialog, DISPID event, const char* text, long percent)
    {
        EventArgs args;
        args.Text(text);
        args.Number(percent);
        args.Number(0);
        EXPECT_EQ(args.Fire(dialog, event), S_OK);
        return args.NumberAt(1);
    }
};

TEST_F(StatusEventsTest, TextChangesOnlyWhenItDiffersWhileBarAndCancelAlwaysFollow)
{
    CUnZIPStatusDlg* dialog = Open<CUnZIPStatusDlg>();
    ASSERT_NE(dialog, nullptr);
    HWND hwnd = dialog->m_hWnd;
    HWND majorText = GetDlgItem(hwnd, IDC_UNZIP_MAJOR_TEXT);
    HWND minorText = GetDlgItem(hwnd, IDC_UNZIP_MINOR_TEXT);
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(majorText, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingEditProc)));
    SetWindowLongPtrA(minorText, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingEditProc));

    char threadId[16];
    GetDlgItemTextA(hwnd, IDC_UNZIP_THREAD_ID, threadId, sizeof(threadId));
    EXPECT_EQ(std::string(threadId), std::to_string(GetCurrentThreadId()));

    setTextCount = 0;
    EXPECT_EQ(Status(*dialog, vx::MajorStatusEvent, "Extracting a.zip", 10), 0);
    EXPECT_EQ(setTextCount, 1);
    EXPECT_EQ(Status(*dialog, vx::MajorStatusEvent, "Extracting a.zip", 40), 0);
    EXPECT_EQ(setTextCount, 1) << "unchanged text was written again";
    EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_UNZIP_MAJOR_BAR, PBM_GETPOS, 0, 0), 40);

    EXPECT_EQ(Status(*dialog, vx::MinorStatusEvent, "readme.txt", 55), 0);
    EXPECT_EQ(setTextCount, 2);
    char minor[64];
    GetDlgItemTextA(hwnd, IDC_UNZIP_MINOR_TEXT, minor, sizeof(minor));
    EXPECT_STREQ(minor, "readme.txt");
    EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_UNZIP_MINOR_BAR, PBM_GETPOS, 0, 0), 55);
    EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_UNZIP_MAJOR_BAR, PBM_GETPOS, 0, 0), 40);

    // Cancel waits in the queue; the next status event handles it and reports it,
    // also when its text is unchanged. The dialog stays open.
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
    EXPECT_EQ(Status(*dialog, vx::MinorStatusEvent, "readme.txt", 60), 1);
    EXPECT_EQ(setTextCount, 2);
    EXPECT_EQ(SendDlgItemMessageA(hwnd, IDC_UNZIP_MINOR_BAR, PBM_GETPOS, 0, 0), 60);
    EXPECT_TRUE(dialog->IsCancelled());
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(Status(*dialog, vx::MajorStatusEvent, "Extracting a.zip", 41), 1);

    // Enter (the hidden OK button) neither closes nor cancels.
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(hwnd));

    dialog->DestroyWindow(); // the dialog object deletes itself
    EXPECT_FALSE(IsWindow(hwnd));
}

// code, three numbers, text, title, response; returns the handler's view.
struct MessageOutcome {
    std::string title;
    long response;
    long numbers[3];
    std::string text;
};

MessageOutcome Message(CDialog& dialog, long code)
{
    EventArgs args;
    args.Number(code);
    args.Number(7);
    args.Number(8);
    args.Number(9);
    args.Text("the text");
    args.Text("VXCTRL");
    args.Number(0);
    EXPECT_EQ(args.Fire(dialog, vx::MessageEvent), S_OK);
    return {args.TextAt(1), args.NumberAt(4), {args.NumberAt(1), args.NumberAt(2), args.NumberAt(3)},
            args.TextAt(0)};
}

TEST_F(StatusEventsTest, MessageEventsRetitleOrAnswerAndTouchNothingElse)
{
    CUnZIPStatusDlg* unzip = Open<CUnZIPStatusDlg>();
    ASSERT_NE(unzip, nullptr);
    CZIPStatusDlg* zip = Open<CZIPStatusDlg>();
    ASSERT_NE(zip, nullptr);

    struct Case {
        CDialog* dialog;
        long code;
        const char* title;
        long response;
    };
    const Case cases[] = {
        {unzip, 12, "My UnZIP", 0}, {unzip, 10, "VXCTRL", 2},  {unzip, 0, "VXCTRL", 2},
        {unzip, 13, "VXCTRL", 1},   {unzip, 7, "VXCTRL", 0},   {unzip, 20, "VXCTRL", 0},
        {unzip, -3, "VXCTRL", 0},   {zip, 0, "My Multi-Volume ZIP", 0},
        {zip, 10, "My Multi-Volume ZIP", 0}, {zip, 4, "My ZIP", 0}, {zip, 13, "VXCTRL", 1},
        {zip, 8, "VXCTRL", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.dialog == unzip ? "unzip code " : "zip code ") + std::to_string(c.code));
        const MessageOutcome out = Message(*c.dialog, c.code);
        EXPECT_EQ(out.title, c.title);
        EXPECT_EQ(out.response, c.response);
        EXPECT_EQ(out.text, "the text");
        EXPECT_EQ(out.numbers[0], 7);
        EXPECT_EQ(out.numbers[1], 8);
        EXPECT_EQ(out.numbers[2], 9);
    }
    unzip->DestroyWindow();
    zip->DestroyWindow();
}

// A job thread that ends at once.
class CQuickJob : public CWinThread {
    DECLARE_DYNCREATE(CQuickJob)
public:
    BOOL InitInstance() override { return FALSE; }
};
IMPLEMENT_DYNCREATE(CQuickJob)

// The program holds a job's thread handle until the job ends, not until the program does.
TEST(JobThreads, EndedJobsHoldNoHandle)
{
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(testApp.StartJob(RUNTIME_CLASS(CQuickJob)));
    EXPECT_TRUE(e2e::WaitUntil([] { return testApp.RunningJobs() == 0; }, 10000)) << testApp.RunningJobs();
}

} // namespace
