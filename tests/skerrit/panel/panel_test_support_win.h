// Helpers of the picture panel's Windows tests: a hidden host window with a
// panel, rendering into a memory bitmap, bitmap files on disk, GDI counts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/skerrit/panel/dib_builder.h"

namespace panel_test {

// Registers the panel class once for the test process.
bool EnsurePanelClass();

// A hidden top-level window holding one panel (control id 1004) with a client
// area of the given size. Destroys both on destruction.
class PanelHost {
public:
    PanelHost(int width, int height);
    PanelHost(const PanelHost&) = delete;
    PanelHost& operator=(const PanelHost&) = delete;
    ~PanelHost();

    HWND Host() const { return host_; }
    HWND Panel() const { return panel_; }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(panel_, message, wParam, lParam);
    }
    LRESULT SendText(UINT message, const std::string& text) const {
        return Send(message, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

private:
    HWND host_ = nullptr;
    HWND panel_ = nullptr;
};

// What the panel paints when asked to erase, read back from a memory bitmap.
class Rendering {
public:
    Rendering(int width, int height) : width_(width), height_(height) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const;
    std::vector<COLORREF>& Pixels() { return pixels_; }
    // Pixels that differ from `color`.
    int CountNot(COLORREF color) const;
    int Count(COLORREF color) const;
    // Smallest rectangle holding every pixel that differs from `background`;
    // empty (all zero) when there is none.
    RECT BoundsNot(COLORREF background) const;

private:
    int width_;
    int height_;
    std::vector<COLORREF> pixels_;
};

// Sends WM_ERASEBKGND with a memory context of the panel's client size and
// returns what it drew. `returned` receives the message result.
Rendering Render(HWND panel, LRESULT* returned = nullptr);

// A folder of this test process under the temporary folder, with a trailing
// backslash.
std::string TempFolder();

// Writes a file into a folder of this test process under the temporary folder.
std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes);

// A 24-bit picture of one colour with chosen pixels (x, y from the top left)
// in another.
dib_builder::PictureDescription MarkedPicture(int width, int height, dib_builder::Rgb fill, dib_builder::Rgb mark,
                                const std::vector<POINT>& marks);

// Live GDI objects of this process.
unsigned CountGdiObjects();

inline COLORREF Rgb(const dib_builder::Rgb& c) { return RGB(c.red, c.green, c.blue); }

}  // namespace panel_test
