// Property types of every DISPID, the type libraries, saved state through the
// host, the host's life cycle, the event decoder and the status control.
#include "tests/toolkit/toolkit_test_support_win.h"

#include "toolkit/shared/saved_state.h"

#include <olectl.h>

using namespace vxtest;

namespace {

using TypeOf = bool (*)(std::int32_t, vx::PropType&);

// Puts a value of the property's own type and reads it back unchanged.
void RoundTripEveryProperty(const char* progId, TypeOf typeOf, DISPID action)
{
    HostedControl host(progId, nullptr);
    IDispatch* d = host.Dispatch();
    ASSERT_NE(nullptr, d);
    int checked = 0;
    for (DISPID id = 1; id <= 50; ++id) {
        vx::PropType type;
        if (!typeOf(id, type) || id == action) continue;
        SCOPED_TRACE(testing::Message() << progId << " DISPID " << id);
        ++checked;
        VARIANT got;
        VariantInit(&got);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        switch (type) {
        case vx::PropType::Bstr: {
            std::string text = "value " + std::to_string(id);
            ASSERT_EQ(S_OK, vx::PutBstr(d, id, text.c_str()));
            ASSERT_EQ(S_OK, d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &got, nullptr, nullptr));
            EXPECT_EQ(VT_BSTR, V_VT(&got));
            EXPECT_EQ(text, BstrToAnsi(V_BSTR(&got)));
            break;
        }
        case vx::PropType::I2:
            ASSERT_EQ(S_OK, vx::PutI2(d, id, short(-12000 - id)));
            ASSERT_EQ(S_OK, d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &got, nullptr, nullptr));
            EXPECT_EQ(VT_I2, V_VT(&got));
            EXPECT_EQ(short(-12000 - id), V_I2(&got));
            break;
        case vx::PropType::I4:
            ASSERT_EQ(S_OK, vx::PutI4(d, id, 0x12340000L + id));
            ASSERT_EQ(S_OK, d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &got, nullptr, nullptr));
            EXPECT_EQ(VT_I4, V_VT(&got));
            EXPECT_EQ(0x12340000L + id, V_I4(&got));
            break;
        case vx::PropType::Bool: {
            bool value = false;
            ASSERT_EQ(S_OK, vx::PutBool(d, id, true));
            ASSERT_EQ(S_OK, d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &got, nullptr, nullptr));
            EXPECT_EQ(VT_BOOL, V_VT(&got));
            EXPECT_EQ(VARIANT_TRUE, V_BOOL(&got));
            ASSERT_EQ(S_OK, vx::PutBool(d, id, false));
            ASSERT_EQ(S_OK, vx::GetBool(d, id, value));
            EXPECT_FALSE(value);
            break;
        }
        }
        VariantClear(&got);
    }
    EXPECT_GT(checked, 1);
}

TEST(ControlDispatch, EveryDispidRoundTripsWithItsType)
{
    RoundTripEveryProperty(vx::kUnzipProgId, &vx::UnzipPropertyType, vx::unzip::Action);
    RoundTripEveryProperty(vx::kZipProgId, &vx::ZipPropertyType, vx::zip::Action);
    RoundTripEveryProperty(vx::kStatusProgId, &vx::StatusPropertyType, -1);
}

TEST(ControlDispatch, StartingValues)
{
    HostedControl unzip(vx::kUnzipProgId, nullptr);
    Cvxunzipctrl u;
    u.Attach(unzip.Dispatch());
    EXPECT_EQ(-1, u.GetIndex());
    EXPECT_EQ(0, u.GetOptionBits());
    EXPECT_EQ("", u.GetZIPFile());
    HostedControl zip(vx::kZipProgId, nullptr);
    Cvxzipctrl z;
    z.Attach(zip.Dispatch());
    EXPECT_EQ(6, z.GetZipOption8());
}

TEST(ControlDispatch, WrongTypesAndUnknownIdsAreRefused)
{
    HostedControl host(vx::kUnzipProgId, nullptr);
    IDispatch* d = host.Dispatch();
    EXPECT_EQ(DISP_E_TYPEMISMATCH, vx::PutBstr(d, vx::unzip::Index, "not a number"));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, vx::PutI4(d, vx::unzip::ReturnValue, 70000)); // beyond I2
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, vx::PutI4(d, 38, 1));
    long value = 7;
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, vx::GetI4(d, 44, value));
    // Numeric text converts, as Automation clients expect.
    EXPECT_EQ(S_OK, vx::PutBstr(d, vx::unzip::Index, "12"));
    EXPECT_EQ(S_OK, vx::GetI4(d, vx::unzip::Index, value));
    EXPECT_EQ(12, value);
}

TEST(ControlDispatch, NamesComeFromTheTypeLibraries)
{
    struct Case {
        const char* progId;
        const wchar_t* name;
        DISPID id;
    } cases[] = {{vx::kUnzipProgId, L"ZIPFile", 1},      {vx::kUnzipProgId, L"UnZIPString", 41},
                 {vx::kUnzipProgId, L"AuxFlagC", 45},    {vx::kZipProgId, L"ZipOption36", 36},
                 {vx::kZipProgId, L"MultiVolumeFlags", 37}, {vx::kStatusProgId, L"StatusText", 2}};
    for (const Case& c : cases) {
        HostedControl host(c.progId, nullptr);
        LPOLESTR name = const_cast<LPOLESTR>(c.name);
        DISPID id = 0;
        EXPECT_EQ(S_OK, host.Dispatch()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
        EXPECT_EQ(c.id, id);
    }
    HostedControl host(vx::kUnzipProgId, nullptr);
    ComPtr<IProvideClassInfo2> info;
    ASSERT_EQ(S_OK, host.Site().Unknown()->QueryInterface(IID_IProvideClassInfo2, info.PutVoid()));
    GUID events;
    ASSERT_EQ(S_OK, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    EXPECT_TRUE(IsEqualGUID(vx::DIID_vxunzipEvents, events));
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, info->GetClassInfo(coclass.Put()));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(vx::CLSID_vxunzipctrl, attr->guid));
    coclass->ReleaseTypeAttr(attr);
}

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

TEST(ControlHost, HandsTheSavedStateToTheControlAndSavesItBack)
{
    std::vector<vxstate::SavedValue> values(3);
    values[0].dispid = vx::unzip::ZIPFile;
    values[0].type = vx::PropType::Bstr;
    values[0].text = "C:\\archive.zip";
    values[1].dispid = vx::unzip::Index;
    values[1].type = vx::PropType::I4;
    values[1].number = 5;
    values[2].dispid = vx::unzip::OverwriteFlag;
    values[2].type = vx::PropType::Bool;
    values[2].number = -1;
    std::string state = Bytes(vxstate::EncodeSavedState(values));
    state.resize(228, '\0'); // dialog templates carry a fixed-size block

    HostedControl host(vx::kUnzipProgId, nullptr, false, state);
    Cvxunzipctrl u;
    u.Attach(host.Dispatch());
    EXPECT_EQ("C:\\archive.zip", u.GetZIPFile());
    EXPECT_EQ(5, u.GetIndex());
    EXPECT_TRUE(u.GetOverwriteFlag());

    u.SetDestination("D:\\out");
    std::string saved;
    ASSERT_EQ(S_OK, host.Site().SaveState(saved));
    std::vector<vxstate::SavedValue> back;
    ASSERT_TRUE(vxstate::DecodeSavedState(reinterpret_cast<const std::uint8_t*>(saved.data()),
                                          saved.size(), back));
    bool sawDestination = false;
    for (const auto& v : back)
        if (v.dispid == vx::unzip::Destination) sawDestination = v.text == "D:\\out";
    EXPECT_TRUE(sawDestination);
}

TEST(ControlHost, BadStateMeansNoControl)
{
    vx::ControlSite site;
    const char junk[] = "VXS1\x03\x00\x09garbage";
    vx::ControlPlacement place;
    EXPECT_EQ(E_FAIL, site.CreateByProgId(nullptr, vx::kUnzipProgId, place, junk, sizeof junk - 1));
    EXPECT_EQ(nullptr, site.Dispatch());

    // A known DISPID with the wrong type is refused too.
    std::vector<vxstate::SavedValue> values(1);
    values[0].dispid = vx::unzip::ZIPFile;
    values[0].type = vx::PropType::I4;
    std::string state = Bytes(vxstate::EncodeSavedState(values));
    EXPECT_EQ(E_FAIL, site.CreateByProgId(nullptr, vx::kUnzipProgId, place, state.data(), state.size()));
    EXPECT_NE(S_OK, site.CreateByProgId(nullptr, "No.Such.Control", place));
}

TEST(ControlHost, ReleasesTheControlWhenTheHostWindowGoes)
{
    HWND window = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    vx::ControlSite site;
    vx::ControlPlacement place;
    place.visible = true;
    place.rect = RECT{5, 5, 105, 25};
    ASSERT_EQ(S_OK, site.CreateByProgId(window, vx::kStatusProgId, place));
    HWND child = site.Window();
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(window, GetParent(child));
    DestroyWindow(window);
    EXPECT_EQ(nullptr, site.Dispatch());
    EXPECT_EQ(nullptr, site.Window());
    EXPECT_FALSE(IsWindow(child));
}

TEST(ControlHost, ControlsWithoutAWindowStayInvisibleWhenPlacedVisible)
{
    HostedControl host(vx::kUnzipProgId, nullptr, true);
    EXPECT_NE(nullptr, host.Dispatch());
    EXPECT_EQ(nullptr, host.Site().Window());
}

TEST(ControlHost, TheEventsPointIsFoundByEnumerationToo)
{
    HostedControl host(vx::kZipProgId, nullptr);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, host.Site().Unknown()->QueryInterface(IID_IConnectionPointContainer,
                                                          container.PutVoid()));
    ComPtr<IEnumConnectionPoints> all;
    ASSERT_EQ(S_OK, container->EnumConnectionPoints(all.Put()));
    ComPtr<IConnectionPoint> point;
    ULONG fetched = 0;
    ASSERT_EQ(S_OK, all->Next(1, point.Put(), &fetched));
    IID events;
    ASSERT_EQ(S_OK, point->GetConnectionInterface(&events));
    EXPECT_TRUE(IsEqualIID(vx::DIID_vxzipEvents, events));
    ComPtr<IConnectionPoint> none;
    EXPECT_EQ(S_FALSE, all->Next(1, none.Put(), &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IDispatch, none.Put()));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(12345));
}

TEST(ControlHost, EventsReachTheHandlersAndAreDisconnected)
{
    EventLog log;
    HostedControl host(vx::kUnzipProgId, &log);
    Cvxunzipctrl u;
    u.Attach(host.Dispatch());
    u.SetQuietFlag(true);
    u.SetZIPFile(Fixture("absent.zip").c_str());
    u.SetAction(vx::unzip::CountAllMembers);
    ASSERT_EQ(1u, log.messageCodes.size());
    EXPECT_EQ(2, log.messageCodes[0]);
    host.Site().DisconnectEvents();
    u.SetAction(vx::unzip::CountAllMembers);
    EXPECT_EQ(1u, log.messageCodes.size());
}

TEST(ControlHost, ReplacedTitleIsHandedBack)
{
    // The host replaces the title and answers; the control shows no box then.
    EventLog log;
    HostedControl host(vx::kUnzipProgId, &log);
    Cvxunzipctrl u;
    u.Attach(host.Dispatch());
    std::string offered;
    log.onMessage = [&](long*, BSTR* title, long* response) {
        offered = BstrToAnsi(*title);
        vx::ReplaceBstr(title, "My UnZIP");
        *response = 2;
    };
    u.SetZIPFile(Fixture("absent.zip").c_str());
    u.SetAction(vx::unzip::CountAllMembers);
    EXPECT_EQ("VXUNZIP", offered);
    EXPECT_EQ(1, u.GetReturnValue());
}

struct Counting : vx::EventHandlers {
    std::string renamed;
    long percent = 0;
    void MajorStatusEvent(BSTR*, long* p, long* cancel) override
    {
        percent = *p;
        *cancel = 1;
    }
    void RenameEvent(BSTR* name, long*, long*, long*, BSTR*, long* response) override
    {
        vx::ReplaceBstr(name, "new name.txt");
        *response = 2;
    }
};

TEST(EventDecoding, ArgumentsArriveLastToFirstByReference)
{
    Counting h;
    BSTR text = SysAllocString(L"item");
    LONG percent = 42, cancel = 0;
    VARIANTARG args[3];
    V_VT(&args[2]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&args[2]) = &text;
    V_VT(&args[1]) = VT_BYREF | VT_I4;
    V_I4REF(&args[1]) = &percent;
    V_VT(&args[0]) = VT_BYREF | VT_I4;
    V_I4REF(&args[0]) = &cancel;
    DISPPARAMS p{args, nullptr, 3, 0};
    EXPECT_EQ(S_OK, vx::DispatchEvent(h, vx::MajorStatusEvent, &p));
    EXPECT_EQ(42, h.percent);
    EXPECT_EQ(1, cancel);

    p.cArgs = 2;
    p.rgvarg = args + 1;
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, vx::DispatchEvent(h, vx::MinorStatusEvent, &p));
    p.cArgs = 3;
    p.rgvarg = args;
    V_VT(&args[1]) = VT_I4; // by value: the host could not answer
    EXPECT_EQ(DISP_E_TYPEMISMATCH, vx::DispatchEvent(h, vx::MajorStatusEvent, &p));
    EXPECT_EQ(S_OK, vx::DispatchEvent(h, 99, &p)) << "unknown events are ignored";
    SysFreeString(text);

    BSTR name = SysAllocString(L"old.txt"), original = SysAllocString(L"old.txt");
    LONG date = 1, time = 2, attributes = 3, response = 0;
    VARIANTARG r[6];
    V_VT(&r[5]) = VT_BYREF | VT_BSTR; V_BSTRREF(&r[5]) = &name;
    V_VT(&r[4]) = VT_BYREF | VT_I4; V_I4REF(&r[4]) = &date;
    V_VT(&r[3]) = VT_BYREF | VT_I4; V_I4REF(&r[3]) = &time;
    V_VT(&r[2]) = VT_BYREF | VT_I4; V_I4REF(&r[2]) = &attributes;
    V_VT(&r[1]) = VT_BYREF | VT_BSTR; V_BSTRREF(&r[1]) = &original;
    V_VT(&r[0]) = VT_BYREF | VT_I4; V_I4REF(&r[0]) = &response;
    DISPPARAMS rp{r, nullptr, 6, 0};
    EXPECT_EQ(S_OK, vx::DispatchEvent(h, vx::RenameEvent, &rp));
    EXPECT_EQ("new name.txt", BstrToAnsi(name));
    EXPECT_EQ(2, response);
    SysFreeString(name);
    SysFreeString(original);
}

TEST(StatusControl, DrawsItsBarAndText)
{
    HostedControl host(vx::kStatusProgId, nullptr, true);
    HWND w = host.Site().Window();
    ASSERT_NE(nullptr, w);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    EXPECT_STREQ("VXStatusCtrl", cls);
    Cvxstatusctrl s;
    s.Attach(host.Dispatch());
    ASSERT_EQ(S_OK, s.SetPercent(50));
    ASSERT_EQ(S_OK, s.SetStatusText(""));
    RECT r;
    GetClientRect(w, &r);
    // Draw into a memory bitmap: no dependence on what lies over the window on screen.
    HDC screen = GetDC(w);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, r.right, r.bottom);
    HGDIOBJ old = SelectObject(dc, bmp);
    SendMessageA(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF left = GetPixel(dc, r.right / 4, r.bottom / 2);
    COLORREF right = GetPixel(dc, r.right * 3 / 4, r.bottom / 2);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(w, screen);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), left);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), right);

    LOGFONTA font{};
    HFONT handle = reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, handle);
    ASSERT_NE(0, GetObjectA(handle, sizeof font, &font));
    EXPECT_STREQ("Arial", font.lfFaceName);
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new RegisteredControls);
    return RUN_ALL_TESTS();
}
