#include "skerrit/panel/placed_bitmap_win.h"

#include "common/gdi_objects_win.h"
#include "skerrit/panel/placement.h"

namespace {

// Stretching with COLORONCOLOR keeps colour pictures' colours instead of
// merging pixels as the default mode does.
class StretchModeScope {
public:
    explicit StretchModeScope(HDC dc) : dc_(dc), previous_(SetStretchBltMode(dc, COLORONCOLOR)) {}
    StretchModeScope(const StretchModeScope&) = delete;
    StretchModeScope& operator=(const StretchModeScope&) = delete;
    ~StretchModeScope() {
        if (previous_ != 0) SetStretchBltMode(dc_, previous_);
    }

private:
    HDC dc_;
    int previous_;
};

BOOL BlitTiles(HDC target, const placement::TileGrid& grid, HDC source, DWORD rop) {
    BOOL result = FALSE;
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            const placement::Point origin = grid.Origin(column, row);
            result = BitBlt(target, origin.x, origin.y, grid.tileWidth, grid.tileHeight, source, 0, 0, rop);
        }
    }
    return result;
}

// Stretches the picture to the client height once, into a strip of its own
// width, and repeats the strip across the client width.
BOOL DrawColumnTiles(HDC target, HDC picture, const placement::PicturePlan& plan,
                     placement::Extent client, placement::Extent source, DWORD rop) {
    if (plan.width <= 0 || plan.height <= 0) return FALSE;
    gdi::Bitmap strip(CreateCompatibleBitmap(target, plan.width, plan.height));
    gdi::MemoryDC stripDc(target);
    if (!strip || stripDc.Get() == nullptr) return FALSE;
    gdi::Selection stripSelected(stripDc.Get(), strip.Get());
    {
        StretchModeScope mode(stripDc.Get());
        StretchBlt(stripDc.Get(), 0, 0, plan.width, plan.height, picture, 0, 0, source.width,
                   source.height, SRCCOPY);
    }
    const placement::TileGrid columns =
        placement::TilesCovering({client.width, plan.height}, {plan.width, plan.height});
    return BlitTiles(target, columns, stripDc.Get(), rop);
}

}  // namespace

BOOL DrawPlacedBitmap(HWND window, HDC dc, uint32_t placementMode, HBITMAP bitmap, HPALETTE palette,
                      DWORD rop) {
    if (bitmap == nullptr) return FALSE;
    gdi::WindowDC own(window);
    const HDC target = dc != nullptr ? dc : own.Get();
    if (target == nullptr) return FALSE;
    gdi::MemoryDC memory(target);
    if (memory.Get() == nullptr) return FALSE;
    gdi::PaletteSelection realised(target, palette);
    gdi::Selection selected(memory.Get(), bitmap);

    BITMAP info{};
    RECT client{};
    if (GetObjectA(bitmap, sizeof info, &info) == 0 || !GetClientRect(window, &client)) return FALSE;
    const placement::Extent clientSize{client.right - client.left, client.bottom - client.top};
    const placement::Extent pictureSize{info.bmWidth, info.bmHeight};
    const placement::PicturePlan plan = placement::PlanPicture(placementMode, clientSize, pictureSize);

    switch (plan.layout) {
        case placement::PictureLayout::Single:
            return BitBlt(target, plan.x, plan.y, plan.width, plan.height, memory.Get(), 0, 0, rop);
        case placement::PictureLayout::Stretch: {
            StretchModeScope mode(target);
            return StretchBlt(target, plan.x, plan.y, plan.width, plan.height, memory.Get(), 0, 0,
                              pictureSize.width, pictureSize.height, rop);
        }
        case placement::PictureLayout::Tile:
            return BlitTiles(target, placement::TilesCovering(clientSize, pictureSize), memory.Get(), rop);
        case placement::PictureLayout::ColumnTile:
            return DrawColumnTiles(target, memory.Get(), plan, clientSize, pictureSize, rop);
    }
    return FALSE;
}
