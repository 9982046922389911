#include "toolkit/shared/saved_state.h"

namespace vxstate {

namespace {

enum TypeTag : std::uint8_t { TagText = 1, TagI2 = 2, TagI4 = 3, TagBool = 4 };
constexpr char kMagic[4] = {'V', 'X', 'S', '1'};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool AtEnd() const { return pos_ == size_; }
    bool Bytes(std::size_t n, const std::uint8_t*& at)
    {
        if (size_ - pos_ < n) return false;
        at = data_ + pos_;
        pos_ += n;
        return true;
    }
    bool U8(std::uint8_t& v)
    {
        const std::uint8_t* p;
        if (!Bytes(1, p)) return false;
        v = p[0];
        return true;
    }
    bool U16(std::uint16_t& v)
    {
        const std::uint8_t* p;
        if (!Bytes(2, p)) return false;
        v = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
        return true;
    }
    bool U32(std::uint32_t& v)
    {
        const std::uint8_t* p;
        if (!Bytes(4, p)) return false;
        v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
            (std::uint32_t(p[3]) << 24);
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

bool ReadValue(Reader& r, std::uint8_t tag, SavedValue& v)
{
    switch (tag) {
    case TagI2:
    case TagBool: {
        std::uint16_t raw;
        if (!r.U16(raw)) return false;
        v.type = tag == TagI2 ? vx::PropType::I2 : vx::PropType::Bool;
        v.number = static_cast<std::int16_t>(raw);
        return true;
    }
    case TagI4: {
        std::uint32_t raw;
        if (!r.U32(raw)) return false;
        v.type = vx::PropType::I4;
        v.number = static_cast<std::int32_t>(raw);
        return true;
    }
    case TagText: {
        std::uint16_t n;
        const std::uint8_t* at;
        if (!r.U16(n) || n > kMaxSavedText || !r.Bytes(n, at)) return false;
        v.type = vx::PropType::Bstr;
        v.text.assign(reinterpret_cast<const char*>(at), n);
        return true;
    }
    default:
        return false;
    }
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

} // namespace

bool DecodeSavedState(const std::uint8_t* data, std::size_t size, std::vector<SavedValue>& out)
{
    out.clear();
    if (!data || size < sizeof kMagic) return false;
    for (std::size_t i = 0; i < sizeof kMagic; ++i)
        if (data[i] != static_cast<std::uint8_t>(kMagic[i])) return false;
    Reader r(data + sizeof kMagic, size - sizeof kMagic);
    while (!r.AtEnd()) {
        std::uint16_t dispid;
        std::uint8_t tag;
        if (!r.U16(dispid)) break; // a lone padding byte after the last record
        if (dispid == 0) return true;
        SavedValue v;
        v.dispid = dispid;
        if (out.size() >= kMaxSavedRecords || !r.U8(tag) || !ReadValue(r, tag, v)) {
            out.clear();
            return false;
        }
        out.push_back(std::move(v));
    }
    return true;
}

std::vector<std::uint8_t> EncodeSavedState(const std::vector<SavedValue>& values)
{
    std::vector<std::uint8_t> out(kMagic, kMagic + sizeof kMagic);
    std::size_t written = 0;
    for (const SavedValue& v : values) {
        if (v.dispid <= 0 || v.dispid > 0xFFFF || written == kMaxSavedRecords) continue;
        if (v.type == vx::PropType::Bstr && v.text.size() > kMaxSavedText) continue;
        Put16(out, static_cast<std::uint16_t>(v.dispid));
        switch (v.type) {
        case vx::PropType::I2:
        case vx::PropType::Bool:
            out.push_back(v.type == vx::PropType::I2 ? TagI2 : TagBool);
            Put16(out, static_cast<std::uint16_t>(v.number));
            break;
        case vx::PropType::I4: {
            out.push_back(TagI4);
            auto u = static_cast<std::uint32_t>(v.number);
            Put16(out, static_cast<std::uint16_t>(u & 0xFFFF));
            Put16(out, static_cast<std::uint16_t>(u >> 16));
            break;
        }
        case vx::PropType::Bstr:
            out.push_back(TagText);
            Put16(out, static_cast<std::uint16_t>(v.text.size()));
            out.insert(out.end(), v.text.begin(), v.text.end());
            break;
        }
        ++written;
    }
    Put16(out, 0);
    return out;
}

} // namespace vxstate
