// The dialog templates inside the built skerrit.exe: sizes, control ids,
// positions, classes and the styles the dialogs rely on, read from the
// executable's resources in dialog units.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/driver/dialog_resource.h"
#include "tests/driver/e2e_driver.h"

namespace {

using Item = e2e::TemplateItem;
using Template = e2e::DialogTemplate;

class SkerritTemplates : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExA(e2e::BinPath("skerrit.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (module_ != nullptr) FreeLibrary(module_);
        module_ = nullptr;
    }

    Template Load(int id) {
        Template t;
        EXPECT_TRUE(e2e::LoadDialogTemplate(module_, id, &t)) << "template " << id;
        return t;
    }

    static const Item* Find(const Template& t, int id) { return e2e::FindItem(t, id); }

    // Control `id` of class `cls` at x, y with size cx × cy.
    static void ExpectItem(const Template& t, int id, const char* cls, short x, short y, short cx, short cy) {
        const Item* item = Find(t, id);
        ASSERT_NE(item, nullptr) << "control " << id;
        // Class names compare without regard to case.
        EXPECT_EQ(lstrcmpiA(item->className.c_str(), cls), 0) << "control " << id << ": " << item->className;
        EXPECT_EQ(item->x, x) << "control " << id;
        EXPECT_EQ(item->y, y) << "control " << id;
        EXPECT_EQ(item->cx, cx) << "control " << id;
        EXPECT_EQ(item->cy, cy) << "control " << id;
    }
    static DWORD StyleOf(const Template& t, int id) {
        const Item* item = Find(t, id);
        return item != nullptr ? item->style : 0;
    }
    static void ExpectPopup(const Template& t, short cx, short cy) {
        EXPECT_EQ(t.cx, cx);
        EXPECT_EQ(t.cy, cy);
        EXPECT_EQ(t.style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
                  static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
        EXPECT_EQ(t.pointSize, 8);
        EXPECT_EQ(t.font, "MS Sans Serif");
    }
    static void ExpectDefaultButton(const Template& t, int id, bool visible) {
        EXPECT_EQ(StyleOf(t, id) & 0x0F, static_cast<DWORD>(BS_DEFPUSHBUTTON)) << "control " << id;
        EXPECT_EQ((StyleOf(t, id) & WS_VISIBLE) != 0, visible) << "control " << id;
    }
    static void ExpectHiddenButton(const Template& t, int id) {
        EXPECT_EQ(StyleOf(t, id) & WS_VISIBLE, 0u) << "control " << id;
    }

    static HMODULE module_;
};

HMODULE SkerritTemplates::module_ = nullptr;

TEST_F(SkerritTemplates, WelcomeDialogsAreVisibleBorderlessChildren) {
    for (int id : {101, 106}) {
        const Template t = Load(id);
        EXPECT_EQ(t.cx, 218);
        EXPECT_EQ(t.cy, 110);
        EXPECT_NE(t.style & WS_CHILD, 0u);
        EXPECT_NE(t.style & WS_VISIBLE, 0u);
        EXPECT_EQ(t.style & (WS_POPUP | WS_CAPTION | WS_BORDER | WS_THICKFRAME | DS_MODALFRAME), 0u);
        EXPECT_EQ(t.font, "MS Sans Serif");
        EXPECT_EQ(t.pointSize, 8);
        ExpectItem(t, 1, "BUTTON", 87, 89, 60, 14);
        ExpectDefaultButton(t, 1, true);
        ExpectItem(t, 2, "BUTTON", 151, 89, 60, 14);
        EXPECT_EQ(Find(t, 1)->text, "Continue...");
        EXPECT_EQ(Find(t, 2)->text, "Cancel");
        EXPECT_NE(StyleOf(t, 1001) & SS_NOTIFY, 0u) << "the link line reports clicks";
    }
    const Template plain = Load(101);
    ExpectItem(plain, 1002, "STATIC", 6, 7, 205, 49);
    ExpectItem(plain, 1001, "STATIC", 6, 68, 205, 10);
    EXPECT_EQ(Find(plain, 1004), nullptr);
    const Template picture = Load(106);
    ExpectItem(picture, 1002, "STATIC", 79, 7, 132, 60);
    ExpectItem(picture, 1004, "TVCustomEventPIC", 6, 7, 68, 96);
    ExpectItem(picture, 1001, "STATIC", 79, 73, 132, 10);
}

TEST_F(SkerritTemplates, ReviewAndRemovalDialogs) {
    const Template review = Load(102);
    ExpectPopup(review, 275, 143);
    ExpectItem(review, 1, "BUTTON", 143, 122, 60, 14);
    ExpectDefaultButton(review, 1, true);
    EXPECT_EQ(Find(review, 1)->text, "Remove");
    ExpectItem(review, 2, "BUTTON", 208, 122, 60, 14);
    ExpectItem(review, 1002, "STATIC", 7, 7, 261, 36);
    ExpectItem(review, 1000, "LISTBOX", 7, 47, 261, 68);
    EXPECT_EQ(StyleOf(review, 1000) & (LBS_SORT | WS_VSCROLL | WS_BORDER),
              static_cast<DWORD>(LBS_SORT | WS_VSCROLL | WS_BORDER));

    const Template removal = Load(103);
    ExpectPopup(removal, 275, 79);
    ExpectItem(removal, 1, "BUTTON", 0, 0, 6, 7);
    ExpectDefaultButton(removal, 1, false);
    ExpectItem(removal, 2, "BUTTON", 208, 58, 60, 14);
    ExpectItem(removal, 1003, "EDIT", 7, 36, 261, 13);
    EXPECT_EQ(StyleOf(removal, 1003) & (ES_READONLY | ES_AUTOHSCROLL | WS_BORDER),
              static_cast<DWORD>(ES_READONLY | ES_AUTOHSCROLL | WS_BORDER));
    ExpectItem(removal, 1002, "STATIC", 7, 7, 261, 23);
}

TEST_F(SkerritTemplates, NoticeDialogs) {
    const Template cancelled = Load(104);
    ExpectPopup(cancelled, 186, 76);
    ExpectItem(cancelled, 1, "BUTTON", 119, 55, 60, 14);
    ExpectDefaultButton(cancelled, 1, true);
    ExpectItem(cancelled, 2, "BUTTON", 0, 0, 7, 7);
    ExpectHiddenButton(cancelled, 2);
    ExpectItem(cancelled, 1002, "STATIC", 7, 7, 172, 33);

    const Template error = Load(105);
    ExpectPopup(error, 186, 95);
    ExpectItem(error, 1, "BUTTON", 119, 74, 60, 14);
    ExpectDefaultButton(error, 1, true);
    ExpectItem(error, 2, "BUTTON", 0, 0, 7, 7);
    ExpectHiddenButton(error, 2);
    ExpectItem(error, 1002, "STATIC", 7, 7, 172, 51);

    const Template restart = Load(110);
    ExpectPopup(restart, 186, 129);
    ExpectItem(restart, 1007, "BUTTON", 33, 73, 146, 10);
    ExpectItem(restart, 1008, "BUTTON", 33, 91, 146, 10);
    EXPECT_EQ(StyleOf(restart, 1007) & 0x0F, static_cast<DWORD>(BS_AUTORADIOBUTTON));
    EXPECT_EQ(StyleOf(restart, 1008) & 0x0F, static_cast<DWORD>(BS_AUTORADIOBUTTON));
    EXPECT_NE(StyleOf(restart, 1007) & WS_GROUP, 0u);
    ExpectItem(restart, 1, "BUTTON", 129, 108, 50, 14);
    ExpectDefaultButton(restart, 1, true);
    ExpectItem(restart, 2, "BUTTON", 0, 0, 6, 6);
    ExpectHiddenButton(restart, 2);
    ExpectItem(restart, 1002, "STATIC", 7, 7, 172, 51);

    const Template shared = Load(112);
    ExpectPopup(shared, 215, 106);
    EXPECT_EQ(shared.title, "Shared DLL Found");
    ExpectItem(shared, 1, "BUTTON", 103, 85, 50, 14);
    ExpectDefaultButton(shared, 1, true);
    ExpectItem(shared, 2, "BUTTON", 158, 85, 50, 14);
    ExpectItem(shared, 1002, "STATIC", 7, 7, 201, 51);
    ExpectItem(shared, 1009, "EDIT", 7, 64, 201, 14);
    EXPECT_EQ(StyleOf(shared, 1009) & (ES_READONLY | ES_AUTOHSCROLL | WS_BORDER),
              static_cast<DWORD>(ES_READONLY | ES_AUTOHSCROLL | WS_BORDER));
}

TEST_F(SkerritTemplates, AboutBox) {
    const Template about = Load(100);
    ExpectPopup(about, 205, 148);
    ExpectItem(about, 1, "BUTTON", 138, 127, 60, 14);
    ExpectDefaultButton(about, 1, true);
    ExpectItem(about, 1001, "STATIC", 40, 108, 153, 11);
    EXPECT_NE(StyleOf(about, 1001) & SS_NOTIFY, 0u);
    ExpectItem(about, 1002, "STATIC", 42, 13, 156, 87);
    bool icon_found = false;
    for (const Item& item : about.items) {
        if (lstrcmpiA(item.className.c_str(), "STATIC") == 0 && (item.style & SS_TYPEMASK) == SS_ICON) {
            icon_found = true;
            EXPECT_EQ(item.text, "#102");
            EXPECT_EQ(item.x, 9);
            EXPECT_EQ(item.y, 9);
            EXPECT_EQ(item.cx, 20);
            EXPECT_EQ(item.cy, 20);
        }
    }
    EXPECT_TRUE(icon_found);
}

}  // namespace
