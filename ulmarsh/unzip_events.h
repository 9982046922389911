// The bench's answers to the unzip control's events, free of any window.
#pragma once

#include <cstdint>
#include <string>

#include "ulmarsh/control_properties.h"

namespace ulmarsh {

// Title that replaces the control's message-box title, or nullptr to keep it.
const char* MessageTitleFor(int32_t messageNumber);

// A status event: the display is written only where its value differs from
// the event's.
void ShowStatus(PropertySession& session, ControlProperties& statusCtrl, const std::string& text,
                int32_t percent);

// Attribute tick boxes of the rename form.
struct AttributeTicks {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    bool volumeLabel = false;
    bool directory = false;
    bool archive = false;
    bool encrypted = false;
    bool longName = false;
};

AttributeTicks TicksFromAttributes(int32_t attributes);
// Only the eight listed bits survive the round trip.
int32_t AttributesFromTicks(const AttributeTicks& ticks);

}  // namespace ulmarsh
