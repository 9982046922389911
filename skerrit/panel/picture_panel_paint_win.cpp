#include "skerrit/panel/picture_panel_paint_win.h"

#include <initializer_list>

#include "skerrit/panel/placed_bitmap_win.h"
#include "skerrit/panel/placement.h"

namespace {

void FillBackground(HDC dc, const RECT& client, COLORREF color) {
    gdi::Brush brush(CreateSolidBrush(color));
    if (!brush) return;
    gdi::Selection pen(dc, GetStockObject(NULL_PEN));
    gdi::Selection selectedBrush(dc, brush.Get());
    // The null pen leaves the right and bottom edge out, hence the extra pixel.
    Rectangle(dc, 0, 0, client.right + 1, client.bottom + 1);
}

void DrawPanelText(HDC dc, const RECT& client, const PicturePanelState& state) {
    gdi::Selection font(dc, state.font.Get());
    const char* text = state.text.Text();
    const placement::Extent clientSize{client.right, client.bottom};
    const placement::Box bounds = placement::TextMeasureBounds(clientSize);
    RECT measured{bounds.left, bounds.top, bounds.right, bounds.bottom};
    DrawTextA(dc, text, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    const placement::Box placed = placement::PlaceText(
        state.textPlacement, clientSize,
        {measured.right - measured.left, measured.bottom - measured.top});
    RECT target{placed.left, placed.top, placed.right, placed.bottom};
    const COLORREF previousColor = SetTextColor(dc, state.textColor);
    DrawTextA(dc, text, -1, &target, DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP);
    SetTextColor(dc, previousColor);
}

}  // namespace

void PaintPicturePanel(HWND panel, HDC dc, const PicturePanelState& state) {
    RECT client{};
    GetClientRect(panel, &client);
    if (state.backPicture) {
        DrawPlacedBitmap(panel, dc, placement::kColumnTilePlacement, state.backPicture.Get(),
                         state.backPalette.Get(), SRCCOPY);
    } else {
        FillBackground(dc, client, state.backColor);
    }
    if (state.picture) {
        DrawPlacedBitmap(panel, dc, state.picturePlacement, state.picture.Get(),
                         state.picturePalette.Get(), SRCCOPY);
    }
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    if (state.text.Present()) DrawPanelText(dc, client, state);
    SetBkMode(dc, previousMode);
}

UINT RealizePicturePanelPalettes(HWND panel, const PicturePanelState& state) {
    UINT changed = 0;
    {
        gdi::WindowDC dc(panel);
        if (dc.Get() == nullptr) return 0;
        for (HPALETTE palette : {state.backPalette.Get(), state.picturePalette.Get()}) {
            if (palette == nullptr) continue;
            const HPALETTE previous = SelectPalette(dc.Get(), palette, FALSE);
            const UINT count = RealizePalette(dc.Get());
            if (count != GDI_ERROR) changed += count;
            SelectPalette(dc.Get(), previous, FALSE);
            RealizePalette(dc.Get());
        }
    }
    if (changed != 0) InvalidateRect(panel, nullptr, TRUE);
    return changed;
}
