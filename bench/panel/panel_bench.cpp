// Painting the picture panel. The panel converts a picture to a device
// bitmap once, when it is set, so that a repaint only blits; this prints the
// cost of a repaint against converting and blitting the same picture anew
// (ratio well below 1), and of the tiled and column-tiled placements against
// a single stretched copy.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "skerrit/panel/dib_win.h"
#include "skerrit/panel/picture_panel_win.h"
#include "skerrit/panel/placed_bitmap_win.h"

namespace {

constexpr int kPanelWidth = 200;
constexpr int kPanelHeight = 300;
constexpr int kRepeats = 400;

double Seconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A 256-colour picture with a full colour table and varied pixels.
std::vector<uint8_t> PackedPicture(int width, int height) {
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put32(out, 1 | (8 << 16));  // planes, bits per pixel
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int i = 0; i < 256; ++i) Put32(out, static_cast<uint32_t>(i * 0x010203));
    const int stride = (width + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < stride; ++x) out.push_back(static_cast<uint8_t>(x * 7 + y * 3));
    }
    return out;
}

struct Target {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

Target MakeTarget() {
    HDC screen = GetDC(nullptr);
    Target t{CreateCompatibleDC(screen), CreateCompatibleBitmap(screen, kPanelWidth, kPanelHeight), nullptr};
    ReleaseDC(nullptr, screen);
    t.previous = SelectObject(t.dc, t.bitmap);
    return t;
}

void FreeTarget(const Target& t) {
    SelectObject(t.dc, t.previous);
    DeleteObject(t.bitmap);
    DeleteDC(t.dc);
}

// The best of a few rounds, so that other load on the machine counts less.
template <typename Work>
double Time(Work work) {
    work();  // first use fills caches
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const double start = Seconds();
        for (int i = 0; i < kRepeats; ++i) work();
        GdiFlush();
        const double spent = Seconds() - start;
        if (spent < best) best = spent;
    }
    return best;
}

}  // namespace

int main() {
    if (!RegisterPicturePanelClass(GetModuleHandleA(nullptr))) return 1;
    HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, kPanelWidth, kPanelHeight, nullptr, nullptr,
                                nullptr, nullptr);
    HWND panel = CreateWindowExA(0, kPicturePanelClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, kPanelWidth,
                                 kPanelHeight, host, nullptr, nullptr, nullptr);
    const std::vector<uint8_t> picture = PackedPicture(160, 240);
    const Target target = MakeTarget();

    // The panel holds the converted picture; its background is one colour.
    gdi::Bitmap held = BitmapFromPackedDib(picture.data(), picture.size());
    gdi::Palette heldPalette = PaletteFromPackedDib(picture.data(), picture.size());
    const double cached = Time([&] {
        DrawPlacedBitmap(panel, target.dc, 12, held.Get(), heldPalette.Get(), SRCCOPY);
    });
    const double converting = Time([&] {
        gdi::Palette palette = PaletteFromPackedDib(picture.data(), picture.size());
        gdi::Bitmap bitmap = BitmapFromPackedDib(picture.data(), picture.size());
        DrawPlacedBitmap(panel, target.dc, 12, bitmap.Get(), palette.Get(), SRCCOPY);
    });
    std::printf("placed picture %d times: held %.3f s, converted each time %.3f s, ratio %.2f (limit 1)\n",
                kRepeats, cached, converting, cached / converting);

    // Full-panel erase through the window message, background and picture.
    SendMessageA(panel, PPM_SETBACKCOLOR, 0, RGB(10, 20, 30));
    const double erase = Time([&] { SendMessageA(panel, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.dc), 0); });
    std::printf("erase of an empty panel %d times: %.3f s\n", kRepeats, erase);

    const std::vector<uint8_t> tile = PackedPicture(10, 10);
    gdi::Bitmap small = BitmapFromPackedDib(tile.data(), tile.size());
    const double stretched = Time([&] { DrawPlacedBitmap(panel, target.dc, 14, small.Get(), nullptr, SRCCOPY); });
    const double tiled = Time([&] { DrawPlacedBitmap(panel, target.dc, 13, small.Get(), nullptr, SRCCOPY); });
    const double columns = Time([&] { DrawPlacedBitmap(panel, target.dc, 100, small.Get(), nullptr, SRCCOPY); });
    std::printf("10x10 picture over %dx%d: tiled/stretched %.2f, column-tiled/stretched %.2f\n", kPanelWidth,
                kPanelHeight, tiled / stretched, columns / stretched);

    FreeTarget(target);
    DestroyWindow(host);
    return 0;
}
