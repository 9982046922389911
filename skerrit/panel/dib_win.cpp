#include "skerrit/panel/dib_win.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "skerrit/panel/dib.h"
#include "common/scoped_handles_win.h"

namespace {

// The largest bitmap file worth reading: the biggest accepted picture at 32
// bits per pixel with its headers.
constexpr DWORD kMaxBitmapFileSize =
    static_cast<DWORD>(kMaxDibPixels * 4 + kMaxDibHeaderAndColorBytes + kBitmapFileHeaderSize);

ScopedHandle OpenForReading(const char* path) {
    return ScopedHandle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Reads up to `size` bytes at the current position; returns the count read.
DWORD ReadUpTo(const ScopedHandle& file, void* buffer, DWORD size) {
    DWORD read = 0;
    return ReadFile(file.get(), buffer, size, &read, nullptr) ? read : 0;
}

bool ReadAll(const ScopedHandle& file, void* buffer, DWORD size) { return ReadUpTo(file, buffer, size) == size; }

// Opens a bitmap file and reads past its file header; yields the size of the
// packed bitmap that follows, or 0 when the file is not a usable bitmap file.
DWORD OpenPackedDibInFile(const ScopedHandle& file) {
    if (!file.ok()) return 0;
    DWORD high = 0;
    const DWORD size = GetFileSize(file.get(), &high);
    if (high != 0 || size == INVALID_FILE_SIZE || size <= kBitmapFileHeaderSize || size > kMaxBitmapFileSize) {
        return 0;
    }
    uint8_t header[kBitmapFileHeaderSize];
    if (!ReadAll(file, header, sizeof header)) return 0;
    if ((header[0] | (header[1] << 8)) != kBitmapFileType) return 0;
    return size - static_cast<DWORD>(kBitmapFileHeaderSize);
}

gdi::Palette PaletteFromLayout(const DibLayout& layout) {
    if (layout.colorCount == 0) return gdi::Palette();
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[kMaxDibColors];
    } logical{};
    logical.version = 0x300;
    logical.count = static_cast<WORD>(layout.colorCount);
    for (uint32_t i = 0; i < layout.colorCount; ++i) {
        const DibColor& c = layout.colors[i];
        logical.entries[i] = PALETTEENTRY{c.red, c.green, c.blue, 0};
    }
    return gdi::Palette(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical)));
}

// A bitmap description rebuilt from checked fields only, so that GDI reads no
// header field, mask or colour entry of the outside data.
struct NormalisedDibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[kMaxDibColors];
};

void Normalise(const DibLayout& layout, NormalisedDibInfo& info) {
    std::memset(&info, 0, sizeof info);
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = layout.width;
    info.header.biHeight = layout.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = layout.bitCount;
    info.header.biCompression = BI_RGB;
    if (layout.compression == DibCompression::BitFields) {
        info.header.biCompression = BI_BITFIELDS;
        std::memcpy(info.colors, layout.masks.data(), sizeof(DWORD) * layout.masks.size());
    } else if (layout.bitCount <= 8) {
        // A full table: pixel values past the stored entries draw black.
        const uint32_t entries = 1u << layout.bitCount;
        info.header.biClrUsed = entries;
        for (uint32_t i = 0; i < layout.colorCount && i < entries; ++i) {
            const DibColor& c = layout.colors[i];
            info.colors[i] = RGBQUAD{c.blue, c.green, c.red, 0};
        }
    }
}

}  // namespace

gdi::Palette PaletteFromPackedDib(const uint8_t* data, size_t size) {
    DibLayout layout;
    if (!ParsePackedDib(data, size, layout)) return gdi::Palette();
    return PaletteFromLayout(layout);
}

gdi::Bitmap BitmapFromPackedDib(const uint8_t* data, size_t size) {
    DibLayout layout;
    if (!ParsePackedDib(data, size, layout)) return gdi::Bitmap();
    // GDI gets run-length pictures expanded by our own bounded decoder, never
    // the outside stream; the normalised header then describes plain rows.
    const uint8_t* pixels = data + layout.pixelOffset;
    std::vector<uint8_t> expanded;
    if (DibIsRunLength(layout)) {
        try {
            if (!DecodeRunLengthPixels(pixels, layout.pixelBytes, layout, expanded)) return gdi::Bitmap();
        } catch (const std::bad_alloc&) {
            return gdi::Bitmap();
        }
        pixels = expanded.data();
    }
    NormalisedDibInfo info;
    Normalise(layout, info);

    gdi::WindowDC screen(nullptr);
    if (screen.Get() == nullptr) return gdi::Bitmap();
    gdi::Palette palette = PaletteFromLayout(layout);
    gdi::PaletteSelection realised(screen.Get(), palette.Get());
    return gdi::Bitmap(CreateDIBitmap(screen.Get(), &info.header, CBM_INIT, pixels,
                                      reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS));
}

gdi::Bitmap LoadBitmapFile(const char* path) {
    const ScopedHandle file = OpenForReading(path);
    const DWORD size = OpenPackedDibInFile(file);
    if (size == 0) return gdi::Bitmap();
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size]);
    if (!data || !ReadAll(file, data.get(), size)) return gdi::Bitmap();
    return BitmapFromPackedDib(data.get(), size);
}

gdi::Palette LoadPaletteFile(const char* path) {
    const ScopedHandle file = OpenForReading(path);
    const DWORD size = OpenPackedDibInFile(file);
    if (size == 0) return gdi::Palette();
    uint8_t data[kMaxDibHeaderAndColorBytes];
    const DWORD read = ReadUpTo(file, data, sizeof data);
    DibLayout layout;
    // Only the header and colour table are read, but the pixels must be in the file too.
    // A run-length stream of open length then counts only the bytes read after the
    // colours (at least one), which the rest of the file can only add to.
    if (!ParseDibHeader(data, read, layout) || !DibPixelsFit(layout, size)) return gdi::Palette();
    return PaletteFromLayout(layout);
}

