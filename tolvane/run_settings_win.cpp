#include "run_settings_win.h"

#include "register_list.h"

namespace tolvane {

RunSettings& Settings() {
    static RunSettings settings;
    return settings;
}

void SetCurrentFileName(std::string_view name) {
    Settings().current_file_name.assign(name.substr(0, kListValueLimit));
}

}  // namespace tolvane
