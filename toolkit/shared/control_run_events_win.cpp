#include "toolkit/shared/control_run_events_win.h"

#include "framework/vxcontrols_ids.h"
#include "toolkit/zipcore/run_barrier.h"

namespace vxcom {

namespace {

BSTR TextBstr(const std::string& utf8)
{
    const WideText wide = WideFromUtf8(utf8);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size() - 1));
}

std::string BstrText(BSTR text) { return Utf8FromWide(text, SysStringLen(text)); }

void RefBstr(VARIANTARG& a, BSTR* slot)
{
    VariantInit(&a);
    V_VT(&a) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&a) = slot;
}

void RefLong(VARIANTARG& a, LONG* slot)
{
    VariantInit(&a);
    V_VT(&a) = VT_BYREF | VT_I4;
    V_I4REF(&a) = slot;
}

bool IsQuestion(zipcore::MessageCode code)
{
    using zipcore::MessageCode;
    return code == MessageCode::OverwriteFile || code == MessageCode::OverwriteReadOnly ||
           code == MessageCode::PasswordFailed || code == MessageCode::NextVolume ||
           code == MessageCode::ConfirmCancel;
}

bool IsDialogWindow(HWND window)
{
    char name[16];
    return GetClassNameA(window, name, sizeof name) > 0 && lstrcmpA(name, "#32770") == 0;
}

} // namespace

void PumpThreadMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the host's loop
            break;
        }
        // Keyboard input of the host's modeless dialogs (Escape, Tab) must reach them as such.
        // Enter is left out: pressing a dialog's default button is the host's own decision (its
        // message loop may refuse it), never one this pump takes for it.
        const bool enter = (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) &&
                           msg.wParam == VK_RETURN;
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (!enter && root && IsDialogWindow(root) && IsDialogMessageA(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

ControlRunEvents::ControlRunEvents(DispatchControl& control, const RunEventSettings& settings)
    : control_(control), settings_(settings)
{
    if (settings_.progressWindow) progress_.Open(settings_.progressTitle, settings_.progressCancel);
}

bool ControlRunEvents::Status(DISPID event, const std::string& text, int32_t percent)
{
    BSTR slotText = TextBstr(text);
    LONG slotPercent = percent;
    LONG slotCancel = 0;
    VARIANTARG args[3];
    RefLong(args[0], &slotCancel);
    RefLong(args[1], &slotPercent);
    RefBstr(args[2], &slotText);
    control_.Fire(event, args, 3);
    SysFreeString(slotText); // whatever string the host left there is ours now
    return slotCancel != 0;
}

bool ControlRunEvents::majorStatus(const std::string& text, int32_t percent)
{
    if (settings_.logSteps && text != lastMajor_) log_ += "step: " + text + "\r\n";
    lastMajor_ = text;
    progress_.ShowMajor(text, percent);
    bool stop = progress_.Pump();
    if (settings_.majorEvents && Status(vx::MajorStatusEvent, text, percent)) stop = true;
    return stop;
}

bool ControlRunEvents::minorStatus(const std::string& text, int32_t percent)
{
    if (settings_.logSteps && text != lastMinor_) log_ += "item: " + text + "\r\n";
    lastMinor_ = text;
    progress_.ShowMinor(text, percent);
    bool stop = progress_.Pump();
    if (settings_.minorCancel) PumpThreadMessages();
    if (settings_.minorEvents && Status(vx::MinorStatusEvent, text, percent) &&
        settings_.minorCancel)
        stop = true;
    return stop;
}

int32_t ControlRunEvents::message(zipcore::MessageCode code, const std::string& text)
{
    log_ += "message " + std::to_string(static_cast<int>(code)) + ": " + text + "\r\n";
    LONG slotCode = static_cast<LONG>(code);
    LONG unused2 = 0, unused3 = 0, unused4 = 0;
    BSTR slotText = TextBstr(text);
    BSTR slotTitle = TextBstr(settings_.messageTitle);
    LONG response = zipcore::ResponseDefault;
    VARIANTARG args[7];
    RefLong(args[0], &response);
    RefBstr(args[1], &slotTitle);
    RefBstr(args[2], &slotText);
    RefLong(args[3], &unused4);
    RefLong(args[4], &unused3);
    RefLong(args[5], &unused2);
    RefLong(args[6], &slotCode);
    control_.Fire(vx::MessageEvent, args, 7);
    const WideText title = WideFromUtf8(BstrText(slotTitle));
    const WideText shown = WideFromUtf8(text);
    SysFreeString(slotText);
    SysFreeString(slotTitle);

    if (response != zipcore::ResponseDefault) return response;
    // The host asked to stop; unanswered, its request stands.
    if (code == zipcore::MessageCode::ConfirmCancel) return zipcore::ResponseYes;
    if (settings_.quiet) return zipcore::ResponseDefault;
    // On a fixed disk there is no medium to change: the next volume just follows.
    if (code == zipcore::MessageCode::NextVolume && !settings_.promptNextVolume)
        return zipcore::ResponseDefault;
    HWND owner = progress_.IsOpen() ? progress_.Window() : GetActiveWindow();
    if (IsQuestion(code)) {
        int answer = MessageBoxW(owner, shown.data(), title.data(), MB_YESNO | MB_ICONQUESTION);
        return answer == IDYES ? zipcore::ResponseYes : zipcore::ResponseNo;
    }
    MessageBoxW(owner, shown.data(), title.data(), MB_OK | MB_ICONEXCLAMATION);
    return zipcore::ResponseDefault;
}

int32_t ControlRunEvents::rename(zipcore::RenameRequest& request)
{
    BSTR slotName = TextBstr(request.name);
    LONG slotDate = request.dosDate;
    LONG slotTime = request.dosTime;
    LONG slotAttributes = static_cast<LONG>(request.attributes);
    BSTR slotOriginal = TextBstr(request.originalName);
    LONG response = 0;
    VARIANTARG args[6];
    RefLong(args[0], &response);
    RefBstr(args[1], &slotOriginal);
    RefLong(args[2], &slotAttributes);
    RefLong(args[3], &slotTime);
    RefLong(args[4], &slotDate);
    RefBstr(args[5], &slotName);
    control_.Fire(vx::RenameEvent, args, 6);
    request.name = BstrText(slotName);
    request.dosDate = static_cast<uint16_t>(slotDate);
    request.dosTime = static_cast<uint16_t>(slotTime);
    request.attributes = static_cast<uint32_t>(slotAttributes);
    SysFreeString(slotName);
    SysFreeString(slotOriginal);
    return response;
}

bool ControlRunEvents::pollCancel() { return progress_.Pump(); }

short ResultOfException(DispatchControl& control, const std::string& messageTitle) noexcept
{
    try {
        RunEventSettings settings;
        settings.quiet = true;
        settings.messageTitle = messageTitle;
        ControlRunEvents events(control, settings);
        return static_cast<short>(zipcore::resultOfException(events, control.Text(vx::zip::ZIPFile)));
    } catch (...) {
        return static_cast<short>(zipcore::ZipResult::TooLarge);
    }
}

} // namespace vxcom
