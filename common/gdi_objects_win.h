// Owners for GDI objects, device contexts and selections, so that every
// early return frees what was made.
#pragma once

#include <windows.h>

namespace gdi {

// Owns a GDI object (bitmap, palette, font, brush) and deletes it.
template <typename Handle>
class Object {
public:
    Object() = default;
    explicit Object(Handle handle) : handle_(handle) {}
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    Object(Object&& other) noexcept : handle_(other.Release()) {}
    Object& operator=(Object&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~Object() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using Bitmap = Object<HBITMAP>;
using Palette = Object<HPALETTE>;
using Font = Object<HFONT>;
using Brush = Object<HBRUSH>;

// A window's (or the screen's, for a null window) device context, released on
// destruction.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a context and selects the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a palette as a foreground palette and realises it; selects the
// previous palette back on destruction. A null palette selects nothing.
class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette) : dc_(dc) {
        if (palette == nullptr) return;
        previous_ = SelectPalette(dc, palette, FALSE);
        const UINT changed = RealizePalette(dc);
        changed_ = changed == GDI_ERROR ? 0 : changed;
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;
    ~PaletteSelection() {
        if (previous_ != nullptr) SelectPalette(dc_, previous_, FALSE);
    }
    // Entries of the system palette that the realisation changed.
    UINT Changed() const { return changed_; }

private:
    HDC dc_;
    HPALETTE previous_ = nullptr;
    UINT changed_ = 0;
};

}  // namespace gdi
