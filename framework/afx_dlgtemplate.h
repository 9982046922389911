// Dialog templates that name controls by class identifier ("{...}"): the
// system's dialog manager cannot create those, so they are taken out of the
// template and created by the framework's control containment instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace afx {

struct ControlSiteTemplate {
    std::uint32_t id = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::string classId;                       // "{...}" as written in the template
    std::size_t keptBefore = 0;                // ordinary items that precede it (tab order)
};

struct SplitDialogTemplate {
    std::vector<std::uint8_t> dialog; // the template without the control sites
    std::vector<ControlSiteTemplate> sites;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX; false when the bytes are not a
// well-formed template (nothing is read past `size`).
bool SplitControlSites(const std::uint8_t* data, std::size_t size, SplitDialogTemplate& out);

} // namespace afx
