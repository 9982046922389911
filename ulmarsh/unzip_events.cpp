#include "ulmarsh/unzip_events.h"

#include "ulmarsh/unzip_props.h"

namespace ulmarsh {

const char* MessageTitleFor(int32_t messageNumber) {
    switch (messageNumber) {
    case 0:
    case 1:
    case 8:
        return "ULMARSH Prompt";
    case 12:
        return "ULMARSH Warning";
    case 2: case 3: case 4: case 5: case 6: case 7: case 9: case 10: case 11:
        return "ULMARSH Error";
    default:
        return nullptr;
    }
}

void ShowStatus(PropertySession& s, ControlProperties& statusCtrl, const std::string& text,
                int32_t percent) {
    if (s.GetString(statusCtrl, status::StatusText) != text)
        s.PutString(statusCtrl, status::StatusText, text);
    if (s.GetI4(statusCtrl, status::Percent) != percent)
        s.PutI4(statusCtrl, status::Percent, percent);
}

AttributeTicks TicksFromAttributes(int32_t attributes) {
    const auto a = static_cast<uint32_t>(attributes);
    AttributeTicks t;
    t.readOnly = a & 0x01;
    t.archive = a & 0x20;
    t.system = a & 0x04;
    t.hidden = a & 0x02;
    t.volumeLabel = a & 0x08;
    t.directory = a & 0x10;
    t.encrypted = a & 0x8000;
    t.longName = a & 0x10000;
    return t;
}

int32_t AttributesFromTicks(const AttributeTicks& t) {
    int32_t a = 0;
    if (t.readOnly) a += 0x01;
    if (t.hidden) a += 0x02;
    if (t.system) a += 0x04;
    if (t.volumeLabel) a += 0x08;
    if (t.directory) a += 0x10;
    if (t.archive) a += 0x20;
    if (t.encrypted) a += 0x8000;
    if (t.longName) a += 0x10000;
    return a;
}

}  // namespace ulmarsh
