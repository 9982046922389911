#include "skerrit/panel/picture_panel_win.h"

#include <cstdint>
#include <new>

#include "skerrit/startup/config_block.h"
#include "skerrit/panel/dib_win.h"
#include "skerrit/panel/font_desc.h"
#include "skerrit/panel/picture_panel_paint_win.h"
#include "skerrit/panel/picture_panel_state_win.h"
#include "skerrit/panel/placement.h"
#include "skerrit/panel/text_escape.h"

namespace {

PicturePanelState* StateOf(HWND panel) {
    return reinterpret_cast<PicturePanelState*>(GetWindowLongPtrA(panel, 0));
}

void Repaint(HWND panel) { InvalidateRect(panel, nullptr, TRUE); }

void DropPicture(PicturePanelState& state) {
    state.picture.Reset();
    state.picturePalette.Reset();
}

// A path cut at the block's size could name another file: it is kept as text
// but never opened.
void SetPictureFile(HWND panel, PicturePanelState& state, const char* path) {
    DropPicture(state);
    PanelTextBlock stored;
    const bool whole = stored.Set(path != nullptr ? path : "");
    SetWindowTextA(panel, stored.Text());
    if (whole && stored.Text()[0] != '\0') {
        state.picturePalette = LoadPaletteFile(stored.Text());
        state.picture = LoadBitmapFile(stored.Text());
    }
    Repaint(panel);
}

void SetBackFile(HWND panel, PicturePanelState& state, const char* path) {
    state.backPicture.Reset();
    state.backPalette.Reset();
    const bool whole = state.backFile.Set(path);
    if (path != nullptr && whole && state.backFile.Text()[0] != '\0') {
        state.backPalette = LoadPaletteFile(state.backFile.Text());
        state.backPicture = LoadBitmapFile(state.backFile.Text());
    }
    Repaint(panel);
}

void SetConfigPicture(HWND panel, PicturePanelState& state, LPARAM record) {
    if (record < 0 || record >= static_cast<LPARAM>(config_layout::kRecordCount)) return;
    const PictureBytes bytes = GetConfigPicture(static_cast<int>(record));
    if (!bytes) return;
    DropPicture(state);
    state.picturePalette = PaletteFromPackedDib(bytes.data, bytes.size);
    state.picture = BitmapFromPackedDib(bytes.data, bytes.size);
    Repaint(panel);
}

void SetText(PicturePanelState& state, const char* text) {
    if (text == nullptr) return;
    state.text.Set(text);
    DecodeTextEscapes(state.text.MutableText());
}

gdi::Font FontFromDescription(const char* description) {
    const FontDescription parsed = ParseFontDescription(description);
    LOGFONTA font{};
    font.lfHeight = parsed.height;
    font.lfWidth = parsed.width;
    font.lfWeight = parsed.weight;
    font.lfItalic = parsed.italic;
    font.lfUnderline = parsed.underline;
    font.lfStrikeOut = parsed.strikeout;
    static_assert(sizeof font.lfFaceName > kMaxFaceNameLength, "face name fits");
    for (int i = 0; i <= kMaxFaceNameLength; ++i) font.lfFaceName[i] = parsed.faceName[i];
    return gdi::Font(CreateFontIndirectA(&font));
}

void SetFont(PicturePanelState& state, const char* description) {
    if (description == nullptr) return;
    state.fontDescription.Set(description);
    state.font = FontFromDescription(state.fontDescription.Text());
}

LRESULT CopyOut(const PanelTextBlock& block, WPARAM size, LPARAM buffer) {
    return static_cast<LRESULT>(block.CopyTo(reinterpret_cast<char*>(buffer), size));
}

LRESULT HandlePanelMessage(HWND panel, PicturePanelState& state, UINT message, WPARAM wParam,
                           LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    switch (message) {
        case PPM_SETPICTUREFILE: SetPictureFile(panel, state, text); return 0;
        case PPM_SETPICTUREPLACEMENT: state.picturePlacement = placement::PlacementMode(wParam); return 0;
        case PPM_GETPICTUREPLACEMENT: return state.picturePlacement;
        case PPM_SETTEXT: SetText(state, text); return 0;
        case PPM_GETTEXT: return CopyOut(state.text, wParam, lParam);
        case PPM_SETTEXTPLACEMENT: state.textPlacement = placement::PlacementMode(wParam); return 0;
        case PPM_GETTEXTPLACEMENT: return state.textPlacement;
        case PPM_SETTEXTCOLOR: state.textColor = static_cast<COLORREF>(lParam); return 0;
        case PPM_GETTEXTCOLOR: return static_cast<LRESULT>(state.textColor);
        case PPM_SETFONT: SetFont(state, text); return 0;
        case PPM_GETFONT: return CopyOut(state.fontDescription, wParam, lParam);
        case PPM_SETBACKCOLOR: state.backColor = static_cast<COLORREF>(lParam); return 0;
        case PPM_GETBACKCOLOR: return static_cast<LRESULT>(state.backColor);
        case PPM_SETBACKFILE: SetBackFile(panel, state, text); return 0;
        case PPM_SETCONFIGPICTURE: SetConfigPicture(panel, state, lParam); return 0;
        default: return 0;
    }
}

LRESULT CALLBACK PicturePanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    PicturePanelState* state = StateOf(panel);
    switch (message) {
        case WM_NCCREATE: {
            auto* created = new (std::nothrow) PicturePanelState();
            if (created == nullptr) return FALSE;
            SetWindowLongPtrA(panel, 0, reinterpret_cast<LONG_PTR>(created));
            break;
        }
        case WM_CREATE:
            // The template's caption is not a picture path.
            SetWindowTextA(panel, "");
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrA(panel, 0, 0);
            delete state;
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(panel, &paint);
            EndPaint(panel, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            if (state == nullptr) break;
            PaintPicturePanel(panel, reinterpret_cast<HDC>(wParam), *state);
            return 1;
        case WM_PALETTECHANGED:
            if (reinterpret_cast<HWND>(wParam) == panel) return 0;
            return state != nullptr ? RealizePicturePanelPalettes(panel, *state) : 0;
        case WM_QUERYNEWPALETTE:
            return state != nullptr ? RealizePicturePanelPalettes(panel, *state) : 0;
        default:
            if (message >= PPM_SETPICTUREFILE && message <= PPM_SETCONFIGPICTURE && state != nullptr) {
                return HandlePanelMessage(panel, *state, message, wParam, lParam);
            }
            break;
    }
    return DefWindowProcA(panel, message, wParam, lParam);
}

}  // namespace

bool RegisterPicturePanelClass(HINSTANCE instance) {
    WNDCLASSA panelClass{};
    panelClass.style = CS_HREDRAW | CS_VREDRAW;
    panelClass.lpfnWndProc = PicturePanelProc;
    panelClass.cbWndExtra = sizeof(LONG_PTR);
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // Never used: the panel paints its whole area when asked to erase it.
    panelClass.hbrBackground = nullptr;
    panelClass.lpszClassName = kPicturePanelClassName;
    return RegisterClassA(&panelClass) != 0;
}
