#include "tests/skerrit/panel/panel_test_support_win.h"

#include <cstdio>
#include <cstring>

#include "skerrit/panel/picture_panel_win.h"

namespace panel_test {
namespace {

constexpr int kPanelId = 1004;

}  // namespace

std::string TempFolder() {
    static std::string folder = [] {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%spanel-test-%lu\\", temp, GetCurrentProcessId());
        CreateDirectoryA(name, nullptr);
        return std::string(name);
    }();
    return folder;
}

bool EnsurePanelClass() {
    static const bool registered = RegisterPicturePanelClass(GetModuleHandleA(nullptr));
    return registered;
}

PanelHost::PanelHost(int width, int height) {
    EnsurePanelClass();
    host_ = CreateWindowExA(0, "STATIC", "panel host", WS_POPUP, 0, 0, width + 50, height + 50, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    panel_ = CreateWindowExA(0, kPicturePanelClassName, "Custom1", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                             0, width, height, host_, reinterpret_cast<HMENU>(kPanelId),
                             GetModuleHandleA(nullptr), nullptr);
}

PanelHost::~PanelHost() {
    if (host_ != nullptr) DestroyWindow(host_);
}

COLORREF Rendering::At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

int Rendering::CountNot(COLORREF color) const {
    int n = 0;
    for (COLORREF c : pixels_) n += c != color;
    return n;
}

int Rendering::Count(COLORREF color) const { return static_cast<int>(pixels_.size()) - CountNot(color); }

RECT Rendering::BoundsNot(COLORREF background) const {
    RECT r{width_, height_, -1, -1};
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (At(x, y) == background) continue;
            if (x < r.left) r.left = x;
            if (y < r.top) r.top = y;
            if (x + 1 > r.right) r.right = x + 1;
            if (y + 1 > r.bottom) r.bottom = y + 1;
        }
    }
    if (r.right < 0) return RECT{0, 0, 0, 0};
    return r;
}

Rendering Render(HWND panel, LRESULT* returned) {
    RECT client{};
    GetClientRect(panel, &client);
    Rendering out(client.right, client.bottom);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;  // top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP target = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, target);
    // A colour the panel never paints, so untouched pixels show.
    std::memset(bits, 0x7F, static_cast<size_t>(client.right) * client.bottom * 4);
    const LRESULT result = SendMessageA(panel, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    if (returned != nullptr) *returned = result;
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    out.Pixels().resize(static_cast<size_t>(client.right) * client.bottom);
    for (size_t i = 0; i < out.Pixels().size(); ++i) {
        const uint32_t p = pixels[i];
        out.Pixels()[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory, previous);
    DeleteObject(target);
    DeleteDC(memory);
    return out;
}

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = TempFolder() + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}

dib_builder::PictureDescription MarkedPicture(int width, int height, dib_builder::Rgb fill, dib_builder::Rgb mark,
                                const std::vector<POINT>& marks) {
    dib_builder::PictureDescription s = dib_builder::Solid24(width, height, fill);
    const uint32_t stride = dib_builder::Stride(width, 24);
    for (const POINT& p : marks) {
        uint8_t* pixel = &s.pixels[(height - 1 - p.y) * stride + p.x * 3];  // rows are stored bottom up
        pixel[0] = mark.blue;
        pixel[1] = mark.green;
        pixel[2] = mark.red;
    }
    return s;
}

unsigned CountGdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return reported;
    // Wine does not count: probe every handle slot instead.
    unsigned live = 0;
    for (ULONG_PTR slot = 0; slot < 0x10000; ++slot) {
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    }
    return live;
}

}  // namespace panel_test
