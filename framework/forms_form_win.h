// A form: a top-level window built from a table of controls laid out in
// twips, with one handler per user action. Texts (captions, tooltips, list
// items) come from the program's string table by id.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "common/gdi_objects_win.h"
#include "framework/forms_tooltips_win.h"

namespace forms {

enum class Kind {
    Label,
    TextBox,      // single-line edit; extraStyle may make it multi-line
    DisplayBox,   // read-only edit on the grey display colour
    Button,
    DefaultButton,
    CheckBox,
    DropDownList,  // unsorted list of fixed items
    Frame,
    CheckList,     // list with a tick box per item
    Icon,
    Hosted,        // room for a hosted control; no window of its own
};

struct ControlSpec {
    int id;
    Kind kind;
    int left, top, width, height;  // twips; inside frameId when it is set
    UINT textId = 0;               // caption or initial text
    UINT tipId = 0;                // tooltip
    int frameId = 0;
    UINT firstItemId = 0;          // list items: consecutive string ids
    int itemCount = 0;
    DWORD extraStyle = 0;
};

struct FormSpec {
    const char* className;
    UINT captionId;
    int clientWidth, clientHeight;  // twips
    UINT menuId;                    // 0 = no menu
    const ControlSpec* controls;
    size_t controlCount;
};

class Form {
public:
    Form(HINSTANCE instance, const FormSpec& spec);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Loads the form: creates the window and its controls, then runs OnLoad.
    // A form that is already loaded is left as it is. When OnLoad fails the
    // window is destroyed again and Load returns false.
    bool Load(HWND owner);
    void Show();                 // modeless, brought to the front
    void Unload();               // destroys the window; Load makes it anew
    bool Loaded() const { return hwnd_ != nullptr; }
    HWND hwnd() const { return hwnd_; }
    HINSTANCE instance() const { return instance_; }

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    void Enable(int id, bool enabled);
    bool Enabled(int id) const;
    int Selection(int id) const;           // drop-down list position
    void Select(int id, int position);
    RECT PixelRect(int id) const;          // a control's place in client pixels
    std::string LoadText(UINT stringId) const;

    // Handlers, one per user action.
    void OnClick(int id, std::function<void()> handler) { clicks_[id] = std::move(handler); }
    void OnItemCheck(int id, std::function<void(int)> handler) { itemChecks_[id] = std::move(handler); }
    // Return false to refuse a close request.
    std::function<bool()> onCloseRequest;
    // The window is going away (after a close request was granted or Unload).
    std::function<void()> onUnload;

    // The main form ends the message loop when it is unloaded.
    void QuitOnUnload(bool quit) { quitOnUnload_ = quit; }

protected:
    virtual bool OnLoad() { return true; }
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool RegisterFormClass() const;
    void CreateControls();
    HWND CreateControl(const ControlSpec& c);
    const ControlSpec* Spec(int id) const;
    RECT TwipsRect(const ControlSpec& c) const;

    HINSTANCE instance_;
    const FormSpec& spec_;
    HWND hwnd_ = nullptr;
    bool quitOnUnload_ = false;
    gdi::Font font_;
    gdi::Brush displayBrush_;
    TooltipSet tooltips_;
    std::map<int, std::function<void()>> clicks_;
    std::map<int, std::function<void(int)>> itemChecks_;
};

// The grey of display boxes.
constexpr COLORREF kDisplayBoxColour = RGB(0xC0, 0xC0, 0xC0);

}  // namespace forms
