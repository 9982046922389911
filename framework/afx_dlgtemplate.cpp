#include "framework/afx_dlgtemplate.h"

namespace afx {
namespace {

constexpr std::uint32_t kSetFont = 0x40;    // DS_SETFONT
constexpr std::uint32_t kShellFont = 0x48;  // DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Word(std::uint16_t& value)
    {
        if (pos_ > size_ || size_ - pos_ < 2)
            return false;
        value = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }

    bool Dword(std::uint32_t& value)
    {
        std::uint16_t low = 0, high = 0;
        if (!Word(low) || !Word(high))
            return false;
        value = low | (static_cast<std::uint32_t>(high) << 16);
        return true;
    }

    bool Short(std::int16_t& value)
    {
        std::uint16_t raw = 0;
        if (!Word(raw))
            return false;
        value = static_cast<std::int16_t>(raw);
        return true;
    }

    bool Skip(std::size_t count)
    {
        if (count > size_ - pos_)
            return false;
        pos_ += count;
        return true;
    }

    // Wide string up to its terminator; only ASCII survives into `text`.
    bool WideString(std::string* text)
    {
        for (;;) {
            std::uint16_t ch = 0;
            if (!Word(ch))
                return false;
            if (ch == 0)
                return true;
            if (text)
                text->push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
        }
    }

    // sz_Or_Ord: empty, an ordinal, or a wide string.
    bool NameOrOrdinal(std::string* text)
    {
        std::uint16_t first = 0;
        if (!Word(first))
            return false;
        if (first == 0)
            return true;
        if (first == 0xFFFF) {
            std::uint16_t ordinal = 0;
            return Word(ordinal);
        }
        if (text && first < 0x80)
            text->push_back(static_cast<char>(first));
        return WideString(text);
    }

    bool AlignDword() { return Skip((4 - (pos_ & 3)) & 3); }
    std::size_t Pos() const { return pos_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

bool IsControlSiteClass(const std::string& name)
{
    return name.size() > 2 && name.front() == '{' && name.back() == '}';
}

void PadToDword(std::vector<std::uint8_t>& bytes)
{
    while (bytes.size() & 3)
        bytes.push_back(0);
}

bool ReadItem(Reader& in, bool extended, ControlSiteTemplate& item, std::string& className)
{
    std::uint32_t helpId = 0;
    if (extended) {
        if (!in.Dword(helpId) || !in.Dword(item.exStyle) || !in.Dword(item.style))
            return false;
    } else if (!in.Dword(item.style) || !in.Dword(item.exStyle)) {
        return false;
    }
    if (!in.Short(item.x) || !in.Short(item.y) || !in.Short(item.cx) || !in.Short(item.cy))
        return false;
    if (extended) {
        if (!in.Dword(item.id))
            return false;
    } else {
        std::uint16_t id = 0;
        if (!in.Word(id))
            return false;
        item.id = id;
    }
    std::uint16_t extraBytes = 0;
    return in.NameOrOrdinal(&className) && in.NameOrOrdinal(nullptr) && in.Word(extraBytes) &&
           in.Skip(extraBytes);
}

} // namespace

bool SplitControlSites(const std::uint8_t* data, std::size_t size, SplitDialogTemplate& out)
{
    out = SplitDialogTemplate();
    if (data == nullptr)
        return false;
    Reader in(data, size);
    std::uint16_t version = 0, signature = 0;
    if (!in.Word(version) || !in.Word(signature))
        return false;
    const bool extended = version == 1 && signature == 0xFFFF;
    std::uint32_t style = 0;
    std::size_t countOffset = 0;
    std::uint16_t count = 0;
    if (extended) {
        std::uint32_t helpId = 0, exStyle = 0;
        if (!in.Dword(helpId) || !in.Dword(exStyle) || !in.Dword(style))
            return false;
        countOffset = in.Pos();
    } else {
        in = Reader(data, size);
        std::uint32_t exStyle = 0;
        if (!in.Dword(style) || !in.Dword(exStyle))
            return false;
        countOffset = in.Pos();
    }
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    if (!in.Word(count) || !in.Short(x) || !in.Short(y) || !in.Short(cx) || !in.Short(cy))
        return false;
    if (!in.NameOrOrdinal(nullptr) || !in.NameOrOrdinal(nullptr) || !in.WideString(nullptr))
        return false;
    if ((style & kSetFont) != 0 || (style & kShellFont) == kShellFont) {
        std::uint16_t points = 0;
        if (!in.Word(points))
            return false;
        if (extended && !in.Skip(4)) // weight, italic, charset
            return false;
        if (!in.WideString(nullptr))
            return false;
    }
    out.dialog.assign(data, data + in.Pos());

    std::uint16_t kept = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!in.AlignDword())
            return false;
        const std::size_t start = in.Pos();
        ControlSiteTemplate item;
        std::string className;
        if (!ReadItem(in, extended, item, className))
            return false;
        if (IsControlSiteClass(className)) {
            item.classId = className;
            item.keptBefore = kept;
            out.sites.push_back(item);
            continue;
        }
        PadToDword(out.dialog);
        out.dialog.insert(out.dialog.end(), data + start, data + in.Pos());
        ++kept;
    }
    out.dialog[countOffset] = static_cast<std::uint8_t>(kept & 0xFF);
    out.dialog[countOffset + 1] = static_cast<std::uint8_t>(kept >> 8);
    return true;
}

} // namespace afx
