// The dialog templates as the installer's users see them: texts, control ids,
// places, sizes and styles, read from the program's own resources linked into
// this test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/driver/dialog_resource.h"
#include "tolvane/resource.h"

namespace tolvane {
namespace {

using TemplateItem = e2e::TemplateItem;
using DialogTemplate = e2e::DialogTemplate;

bool LoadDialogTemplate(int id, DialogTemplate* out) {
    return e2e::LoadDialogTemplate(GetModuleHandleA(nullptr), id, out);
}

const TemplateItem* Find(const DialogTemplate& dialog, int id) { return e2e::FindItem(dialog, id); }

void ExpectPlace(const TemplateItem* item, int x, int y, int cx, int cy) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->x, x) << item->id;
    EXPECT_EQ(item->y, y) << item->id;
    EXPECT_EQ(item->cx, cx) << item->id;
    EXPECT_EQ(item->cy, cy) << item->id;
}

constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83;

void ExpectOkAndHiddenCancel(const DialogTemplate& dialog) {
    const TemplateItem* ok = Find(dialog, IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->classAtom, kButton);
    EXPECT_EQ(ok->text, "OK");
    EXPECT_EQ(ok->style & 0x0F, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_TRUE(ok->style & WS_VISIBLE);
    const TemplateItem* cancel = Find(dialog, IDCANCEL);
    ExpectPlace(cancel, 0, 0, 6, 6);
    EXPECT_EQ(cancel->classAtom, kButton);
    EXPECT_EQ(cancel->text, "Cancel");
    EXPECT_FALSE(cancel->style & WS_VISIBLE);
}

void ExpectDialogFont(const DialogTemplate& dialog) {
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
}

void ExpectModalPopup(const DialogTemplate& dialog) {
    EXPECT_TRUE(dialog.style & WS_POPUP);
    EXPECT_EQ(dialog.style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_TRUE(dialog.style & WS_SYSMENU);
    EXPECT_TRUE(dialog.style & DS_MODALFRAME);
}

TEST(DialogTemplates, ConfirmationDialogIsAChildWithTheSortedList) {
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(IDD_CONFIRM, &dialog));
    ExpectDialogFont(dialog);
    EXPECT_EQ(dialog.cx, 266);
    EXPECT_EQ(dialog.cy, 142);
    EXPECT_TRUE(dialog.style & WS_CHILD);
    EXPECT_TRUE(dialog.style & WS_VISIBLE);
    EXPECT_NE(dialog.style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    ASSERT_EQ(dialog.items.size(), 4u);

    const TemplateItem* text = Find(dialog, -1);
    ExpectPlace(text, 7, 7, 252, 36);
    EXPECT_EQ(text->classAtom, kStatic);
    EXPECT_EQ(text->text,
              "The files in the list below will be registered on your system if you press OK.  "
              "If you do not want to register these files then press Cancel now.");

    const TemplateItem* list = Find(dialog, IDC_FILE_LIST);
    ExpectPlace(list, 7, 50, 252, 61);
    EXPECT_EQ(list->classAtom, kListBox);
    const DWORD list_styles = LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    EXPECT_EQ(list->style & list_styles, list_styles);

    const TemplateItem* ok = Find(dialog, IDOK);
    ExpectPlace(ok, 153, 121, 50, 14);
    EXPECT_EQ(ok->text, "OK");
    EXPECT_EQ(ok->style & 0x0F, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    const TemplateItem* cancel = Find(dialog, IDCANCEL);
    ExpectPlace(cancel, 209, 121, 50, 14);
    EXPECT_EQ(cancel->text, "Cancel");
    EXPECT_EQ(cancel->style & 0x0F, static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_TRUE(cancel->style & WS_VISIBLE);
}

TEST(DialogTemplates, AboutBoxHasOnlyOkAndAHiddenCancel) {
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(IDD_ABOUT, &dialog));
    ExpectDialogFont(dialog);
    ExpectModalPopup(dialog);
    EXPECT_EQ(dialog.title, "About Multi-File Registration");
    EXPECT_EQ(dialog.items.size(), 2u);
    ExpectOkAndHiddenCancel(dialog);
}

struct MessageTemplate {
    int id;
    const char* title;
    int cy;
    const char* text;
    int text_cy;
    int edit_x, edit_y, edit_cx;
    bool edit_visible;
    int ok_y;
};

TEST(DialogTemplates, MessageDialogsShowTheirTextAndTheFileName) {
    const MessageTemplate expected[] = {
        {IDD_REGISTRATION_ERROR, "Registration Error", 93,
         "The file shown below could not be registered.  This problem may be caused by missing dependent "
         "files.  Please make sure that all files associated with this file are installed properly.  You may "
         "also need to run the installation program again.",
         41, 7, 53, 204, true, 72},
        {IDD_REGISTRATION_WARNING, "Registration Warning", 93,
         "The file shown below is supposed to be registered but could not be found.  Please make sure that "
         "all files associated with this file are installed properly.  You may also need to run the "
         "installation program again.",
         41, 7, 53, 204, true, 72},
        {IDD_NO_FILES, "Registration Error", 58,
         "No files could be identified for registration.  You may need to run the installation program again.",
         25, 7, 36, 143, false, 37},
    };
    for (const MessageTemplate& want : expected) {
        SCOPED_TRACE(want.id);
        DialogTemplate dialog;
        ASSERT_TRUE(LoadDialogTemplate(want.id, &dialog));
        ExpectDialogFont(dialog);
        ExpectModalPopup(dialog);
        EXPECT_EQ(dialog.title, want.title);
        EXPECT_EQ(dialog.cx, 218);
        EXPECT_EQ(dialog.cy, want.cy);
        EXPECT_EQ(dialog.items.size(), 4u);

        const TemplateItem* text = Find(dialog, IDC_MESSAGE_TEXT);
        ExpectPlace(text, 7, 7, 204, want.text_cy);
        EXPECT_EQ(text->classAtom, kStatic);
        EXPECT_EQ(text->text, want.text);

        const TemplateItem* edit = Find(dialog, IDC_FILE_NAME);
        ExpectPlace(edit, want.edit_x, want.edit_y, want.edit_cx, 15);
        EXPECT_EQ(edit->classAtom, kEdit);
        const DWORD edit_styles = ES_READONLY | ES_AUTOHSCROLL | WS_BORDER;
        EXPECT_EQ(edit->style & edit_styles, edit_styles);
        EXPECT_EQ((edit->style & WS_VISIBLE) != 0, want.edit_visible);

        ExpectPlace(Find(dialog, IDOK), 161, want.ok_y, 50, 14);
        ExpectOkAndHiddenCancel(dialog);
    }
}

TEST(DialogTemplates, StringsOfTheMenuItemAndTheTitle) {
    char text[128] = {};
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_GT(LoadStringA(instance, IDS_ABOUT_MENU, text, sizeof text), 0);
    EXPECT_STREQ(text, "&About Multi-File Registeration");
    ASSERT_GT(LoadStringA(instance, IDS_MAIN_TITLE, text, sizeof text), 0);
    EXPECT_STREQ(text, "Multi-File Registration");
    EXPECT_NE(LoadIconA(instance, MAKEINTRESOURCEA(IDI_TOLVANE)), nullptr);
}

}  // namespace
}  // namespace tolvane
