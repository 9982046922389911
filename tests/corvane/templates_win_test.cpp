// The dialog templates, their initialisation data and the strings as they are
// built into corvane.exe: ids, kinds, texts, styles, positions, labels.
#include "corvane/resource.h"
#include "framework/afx_dlginit.h"
#include "framework/vxcontrols.h"
#include "tests/driver/dialog_resource.h"
#include "tests/driver/e2e_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::uint16_t kButton = 0x0080;
constexpr std::uint16_t kEdit = 0x0081;
constexpr std::uint16_t kStatic = 0x0082;

using Item = e2e::TemplateItem;
using Template = e2e::DialogTemplate;

class CorvaneResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module_ = LoadLibraryExA(e2e::BinPath("corvane.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite()
    {
        if (module_ != nullptr)
            FreeLibrary(module_);
        module_ = nullptr;
    }

    static Template Load(UINT id)
    {
        Template t;
        EXPECT_TRUE(e2e::LoadDialogTemplate(module_, id, &t)) << "template " << id;
        return t;
    }

    static std::string String(UINT id)
    {
        char text[256] = {};
        LoadStringA(module_, id, text, sizeof(text));
        return text;
    }

    static HMODULE module_;
};

HMODULE CorvaneResources::module_ = nullptr;

const Item* Find(const Template& t, std::uint32_t id)
{
    return e2e::FindItem(t, static_cast<int>(id));
}

struct Expected {
    std::uint32_t id;
    std::uint16_t classAtom; // 0: named class
    const char* className;   // when named (compared without case)
    const char* text;        // null: not checked
    DWORD styleOn;           // bits that must be set
    DWORD styleOff;          // bits that must be clear
    short x, y, cx, cy;
    const char* label;       // right-aligned static to its left, or null
};

void ExpectItem(const Template& t, const Expected& e)
{
    SCOPED_TRACE("control " + std::to_string(e.id));
    const Item* item = Find(t, e.id);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->classAtom, e.classAtom);
    if (e.classAtom == 0) {
        EXPECT_EQ(_stricmp(item->className.c_str(), e.className), 0) << item->className;
    }
    if (e.text != nullptr) {
        EXPECT_EQ(item->text, e.text);
    }
    EXPECT_EQ(item->style & e.styleOn, e.styleOn) << std::hex << item->style;
    EXPECT_EQ(item->style & e.styleOff, 0u) << std::hex << item->style;
    EXPECT_EQ(item->x, e.x);
    EXPECT_EQ(item->y, e.y);
    EXPECT_EQ(item->cx, e.cx);
    EXPECT_EQ(item->cy, e.cy);
    if (e.label == nullptr)
        return;
    bool labelled = false;
    for (const Item& label : t.items) {
        if (label.classAtom != kStatic || label.text != e.label)
            continue;
        const bool left = label.x + label.cx <= item->x;
        const bool level = label.y < item->y + item->cy && item->y < label.y + label.cy;
        labelled = labelled || (left && level && (label.style & SS_TYPEMASK) == SS_RIGHT);
    }
    EXPECT_TRUE(labelled) << "no right-aligned label \"" << e.label << "\" to its left";
}

constexpr DWORD kAutoCheck = BS_AUTOCHECKBOX;
constexpr DWORD kShown = WS_VISIBLE;

TEST_F(CorvaneResources, MainDialogTemplate)
{
    ASSERT_NE(module_, nullptr);
    const Template t = Load(IDD_CORVANE_DIALOG);
    EXPECT_EQ(t.title, "Varnex-32 Multi-Thread ActiveX Sample");
    EXPECT_EQ(t.font, "MS Sans Serif");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.cx, 284);
    EXPECT_EQ(t.cy, 223);
    const DWORD frame = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(t.style & frame, frame);
    EXPECT_TRUE(t.exStyle & WS_EX_APPWINDOW);

    const Expected items[] = {
        {1001, kEdit, nullptr, nullptr, ES_AUTOHSCROLL | kShown, 0, 72, 18, 196, 12, "Zip Filename:"},
        {1003, kEdit, nullptr, nullptr, ES_AUTOHSCROLL | kShown, 0, 72, 35, 196, 12, "Item List:"},
        {1005, kButton, nullptr, "Recurse during ZIP", kAutoCheck | kShown, 0, 72, 54, 77, 10, nullptr},
        {1011, kButton, nullptr, "External Progress for ZIP", kAutoCheck | kShown, 0, 72, 67, 94, 10, nullptr},
        {1017, kButton, nullptr, "Use Multi-Volume", kAutoCheck | kShown, 0, 72, 81, 71, 10, nullptr},
        {1018, kButton, nullptr, "CD First", kAutoCheck | kShown, 0, 159, 81, 41, 10, nullptr},
        {1000, kButton, nullptr, "New ZIP Thread", kShown, 0x0F, 195, 53, 73, 14, nullptr},
        {1006, kEdit, nullptr, nullptr, ES_AUTOHSCROLL | kShown, 0, 72, 111, 196, 12, "UnZip Filename:"},
        {1002, kEdit, nullptr, nullptr, ES_AUTOHSCROLL | kShown, 0, 72, 129, 196, 12, "File Spec:"},
        {1004, kEdit, nullptr, nullptr, ES_AUTOHSCROLL | kShown, 0, 72, 147, 196, 12, "Destination:"},
        {1008, kButton, nullptr, "Recurse during UnZIP", kAutoCheck | kShown, 0, 71, 166, 87, 10, nullptr},
        {1012, kButton, nullptr, "External Progress for UnZIP", kAutoCheck | kShown, 0, 71, 180, 103, 10, nullptr},
        {1007, kButton, nullptr, "New UnZIP Thread", kShown, 0x0F, 195, 165, 73, 14, nullptr},
        {IDCANCEL, kButton, nullptr, "Done", kShown, 0x0F, 227, 202, 50, 14, nullptr},
        {IDOK, kButton, nullptr, "OK", BS_DEFPUSHBUTTON, WS_VISIBLE, 0, 0, 6, 7, nullptr},
    };
    for (const Expected& e : items)
        ExpectItem(t, e);

    std::vector<std::string> groups;
    for (const Item& item : t.items)
        if (item.classAtom == kButton && (item.style & 0x0F) == BS_GROUPBOX)
            groups.push_back(item.text + "@" + std::to_string(item.x) + "," + std::to_string(item.y) +
                             "," + std::to_string(item.cx) + "," + std::to_string(item.cy));
    EXPECT_EQ(groups, (std::vector<std::string>{"ZIP@7,7,270,88", "UnZIP@7,101,270,96"}));
}

// Both status dialogs: hidden top-level windows with the job's widgets and the
// control named by its class identifier, visible and in the tab order.
void ExpectStatusTemplate(const Template& t, const char* caption, short height)
{
    EXPECT_EQ(t.title, caption);
    EXPECT_EQ(t.font, "MS Sans Serif");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.cx, 227);
    EXPECT_EQ(t.cy, height);
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
    EXPECT_EQ(t.style & frame, frame);
    EXPECT_EQ(t.style & WS_VISIBLE, 0u);
}

struct StatusIds {
    std::uint32_t threadId, minorText, majorBar, minorBar, majorText, control;
    const CLSID& classId;
    short controlY, buttonY;
};

std::string ClassIdText(const CLSID& clsid)
{
    wchar_t wide[64] = {};
    StringFromGUID2(clsid, wide, 64);
    return std::string(wide, wide + wcslen(wide));
}

void ExpectStatusItems(const Template& t, const StatusIds& s)
{
    const std::string classId = ClassIdText(s.classId);
    const DWORD readOnly = ES_READONLY | kShown;
    const Expected items[] = {
        {s.threadId, kEdit, nullptr, nullptr, readOnly, 0, 55, 7, 51, 12, "Thread ID:"},
        {s.minorText, kEdit, nullptr, nullptr, readOnly, 0, 55, 24, 165, 12, "File:"},
        {s.majorBar, 0, PROGRESS_CLASSA, nullptr, WS_BORDER | kShown, 0, 55, 39, 165, 14, "Major:"},
        {s.minorBar, 0, PROGRESS_CLASSA, nullptr, WS_BORDER | kShown, 0, 55, 58, 165, 14, "Minor:"},
        {s.majorText, kEdit, nullptr, nullptr, readOnly, 0, 55, 76, 165, 12, nullptr},
        {s.control, 0, classId.c_str(), nullptr, WS_TABSTOP | kShown, 0, 7, s.controlY, 21, 20, nullptr},
        {IDCANCEL, kButton, nullptr, "Cancel", BS_DEFPUSHBUTTON | kShown, 0, 170, s.buttonY, 50, 14, nullptr},
        {IDOK, kButton, nullptr, "OK", 0, WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 0, 6, 6, nullptr},
    };
    for (const Expected& e : items)
        ExpectItem(t, e);
}

// The hosted control's saved initial state: one 228-byte entry for it alone.
void ExpectSavedState(HMODULE module, UINT templateId, std::uint32_t controlId)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(240));
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(data, nullptr);
    std::vector<afx::DialogInitEntry> entries;
    ASSERT_TRUE(afx::ParseDialogInitData(data, SizeofResource(module, found), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].controlId, controlId);
    EXPECT_EQ(entries[0].message, afx::kLoadControlState);
    EXPECT_EQ(entries[0].data.size(), 228u);
}

TEST_F(CorvaneResources, ExtractionStatusTemplate)
{
    ASSERT_NE(module_, nullptr);
    const Template t = Load(IDD_UNZIP_STATUS);
    ExpectStatusTemplate(t, "UnZipping", 122);
    ExpectStatusItems(t, {1007, 1009, 1008, 1006, 1020, 1010,
                          vx::CLSID_vxunzipctrl, 95, 101});
    ExpectSavedState(module_, IDD_UNZIP_STATUS, 1010);
}

TEST_F(CorvaneResources, CompressionStatusTemplate)
{
    ASSERT_NE(module_, nullptr);
    const Template t = Load(IDD_ZIP_STATUS);
    ExpectStatusTemplate(t, "Zipping", 114);
    ExpectStatusItems(t, {1015, 1012, 1013, 1014, 1019, 1016,
                          vx::CLSID_vxzipctrl, 87, 93});
    ExpectSavedState(module_, IDD_ZIP_STATUS, 1016);
}

TEST_F(CorvaneResources, AboutBoxAndStrings)
{
    ASSERT_NE(module_, nullptr);
    const Template t = Load(IDD_ABOUTBOX);
    EXPECT_EQ(t.title, "About corvane");
    EXPECT_EQ(t.font, "MS Sans Serif");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.cx, 235);
    EXPECT_EQ(t.cy, 55);
    bool icon = false, version = false, ok = false;
    for (const Item& item : t.items) {
        icon = icon || (item.classAtom == kStatic && (item.style & SS_TYPEMASK) == SS_ICON &&
                        item.text == "#128");
        version = version || (item.classAtom == kStatic && item.text == "corvane Version 1.0");
        ok = ok || (item.id == IDOK && item.classAtom == kButton && item.text == "OK");
    }
    EXPECT_TRUE(icon);
    EXPECT_TRUE(version);
    EXPECT_TRUE(ok);

    EXPECT_EQ(String(101), "&About corvane...");
    EXPECT_EQ(String(102), "Error While UnZipping");
    EXPECT_EQ(String(103), "No More threads available");
    EXPECT_EQ(String(104), "Thread Could Not be started.");
    EXPECT_EQ(String(105), "Status Dialog could not be created");
    EXPECT_EQ(String(107), "Timeout during thread creation");
    EXPECT_EQ(String(108), "Error While Zipping");
    EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14)), nullptr)
        << "icon group 128";
}

} // namespace
