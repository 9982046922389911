#include "framework/afx_dlginit.h"

namespace afx {
namespace {

std::uint32_t ReadLittleEndian(const std::uint8_t* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

} // namespace

bool ParseDialogInitData(const std::uint8_t* data, std::size_t size,
                         std::vector<DialogInitEntry>& entries)
{
    entries.clear();
    if (data == nullptr)
        return false;
    std::size_t pos = 0;
    for (;;) {
        if (size - pos < 2)
            return false;
        const auto id = static_cast<std::uint16_t>(ReadLittleEndian(data + pos, 2));
        pos += 2;
        if (id == 0)
            return true;
        if (size - pos < 6)
            return false;
        DialogInitEntry entry;
        entry.controlId = id;
        entry.message = static_cast<std::uint16_t>(ReadLittleEndian(data + pos, 2));
        const std::uint32_t length = ReadLittleEndian(data + pos + 2, 4);
        pos += 6;
        if (length > size - pos)
            return false;
        entry.data.assign(data + pos, data + pos + length);
        pos += length;
        entries.push_back(std::move(entry));
    }
}

const DialogInitEntry* FindControlState(const std::vector<DialogInitEntry>& entries,
                                        std::uint32_t controlId)
{
    for (const DialogInitEntry& entry : entries)
        if (entry.controlId == controlId && entry.message == kLoadControlState)
            return &entry;
    return nullptr;
}

} // namespace afx
