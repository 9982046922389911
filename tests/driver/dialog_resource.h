// Dialog templates read back out of a built program's resources, in dialog units, so tests can
// check the layouts the dialogs are made from. Reads both the DIALOG and the DIALOGEX form.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace e2e {

struct TemplateItem {
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD classAtom = 0;     // 0x80 button ... 0x85 combo box, also when the class is named so
    std::string className;  // "BUTTON", "EDIT", ... for those; otherwise the name as written
    std::string text;       // an ordinal (an icon's id, say) reads "#<n>"
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short cx = 0, cy = 0;
    std::string title;
    int pointSize = 0;
    std::string font;
    std::vector<TemplateItem> items;
};

// False when the bytes are not a well-formed template; nothing is read past `size`.
bool ParseDialogTemplate(const BYTE* data, std::size_t size, DialogTemplate* out);
// Template `id` of `module` (a program loaded as a data file, or this test's own module).
bool LoadDialogTemplate(HMODULE module, int id, DialogTemplate* out);
const TemplateItem* FindItem(const DialogTemplate& dialog, int id);

}  // namespace e2e
