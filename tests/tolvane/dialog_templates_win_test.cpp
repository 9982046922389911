// The dialog templates as the installer's users see them: texts, control ids,
// places, sizes and styles, read from the program's own resources linked into
// this test.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tolvane/resource.h"

namespace tolvane {
namespace {

struct TemplateItem {
    DWORD style = 0;
    int id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    WORD class_atom = 0;  // 0x80 button, 0x81 edit, 0x82 static, 0x83 list box
    std::string text;
};

struct DialogTemplate {
    DWORD style = 0;
    int cx = 0, cy = 0;
    std::string title;
    int font_size = 0;
    std::string font;
    std::vector<TemplateItem> items;
};

class TemplateReader {
public:
    TemplateReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    WORD Word() {
        if (pos_ + 2 > size_) {
            ok_ = false;
            return 0;
        }
        const WORD value = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return value;
    }
    DWORD Dword() {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    short Short() { return static_cast<short>(Word()); }
    // A name or ordinal: 0 none, 0xFFFF then an ordinal, else a wide string.
    std::string NameOrOrdinal(WORD* ordinal) {
        *ordinal = 0;
        const WORD first = Word();
        if (first == 0xFFFF) {
            *ordinal = Word();
            return std::string();
        }
        std::string text;
        for (WORD c = first; c != 0 && ok_; c = Word()) text += static_cast<char>(c < 0x100 ? c : '?');
        return text;
    }
    std::string WideString() {
        WORD ignored = 0;
        return NameOrOrdinal(&ignored);
    }
    void AlignDword() { pos_ = (pos_ + 3) & ~static_cast<std::size_t>(3); }

private:
    const BYTE* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

bool LoadDialogTemplate(int id, DialogTemplate* out) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const BYTE* data = static_cast<const BYTE*>(LockResource(loaded));
    if (data == nullptr) return false;
    TemplateReader reader(data, SizeofResource(module, found));
    out->style = reader.Dword();
    reader.Dword();  // extended style
    const WORD count = reader.Word();
    reader.Short();
    reader.Short();
    out->cx = reader.Short();
    out->cy = reader.Short();
    WORD ordinal = 0;
    reader.NameOrOrdinal(&ordinal);  // menu
    reader.NameOrOrdinal(&ordinal);  // class
    out->title = reader.WideString();
    if (out->style & DS_SETFONT) {
        out->font_size = reader.Word();
        out->font = reader.WideString();
    }
    for (WORD i = 0; i < count && reader.ok(); ++i) {
        reader.AlignDword();
        TemplateItem item;
        item.style = reader.Dword();
        reader.Dword();
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.id = reader.Short();
        reader.NameOrOrdinal(&item.class_atom);
        item.text = reader.NameOrOrdinal(&ordinal);
        const WORD extra = reader.Word();
        for (WORD b = 0; b < extra; b += 2) reader.Word();
        out->items.push_back(item);
    }
    return reader.ok();
}

const TemplateItem* Find(const DialogTemplate& dialog, int id) {
    for (const TemplateItem& item : dialog.items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

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
    EXPECT_EQ(ok->class_atom, kButton);
    EXPECT_EQ(ok->text, "OK");
    EXPECT_EQ(ok->style & 0x0F, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_TRUE(ok->style & WS_VISIBLE);
    const TemplateItem* cancel = Find(dialog, IDCANCEL);
    ExpectPlace(cancel, 0, 0, 6, 6);
    EXPECT_EQ(cancel->class_atom, kButton);
    EXPECT_EQ(cancel->text, "Cancel");
    EXPECT_FALSE(cancel->style & WS_VISIBLE);
}

void ExpectDialogFont(const DialogTemplate& dialog) {
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    EXPECT_EQ(dialog.font_size, 8);
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
    EXPECT_EQ(text->class_atom, kStatic);
    EXPECT_EQ(text->text,
              "The files in the list below will be registered on your system if you press OK.  "
              "If you do not want to register these files then press Cancel now.");

    const TemplateItem* list = Find(dialog, IDC_FILE_LIST);
    ExpectPlace(list, 7, 50, 252, 61);
    EXPECT_EQ(list->class_atom, kListBox);
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
        EXPECT_EQ(text->class_atom, kStatic);
        EXPECT_EQ(text->text, want.text);

        const TemplateItem* edit = Find(dialog, IDC_FILE_NAME);
        ExpectPlace(edit, want.edit_x, want.edit_y, want.edit_cx, 15);
        EXPECT_EQ(edit->class_atom, kEdit);
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
