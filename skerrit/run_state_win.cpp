#include "skerrit/run_state_win.h"

RunSettings& Settings() {
    static RunSettings settings;
    return settings;
}

RunHandles& Handles() {
    static RunHandles handles;
    return handles;
}

void FreeRunResources() {
    RunHandles& handles = Handles();
    handles.log = InstallLogContent{};
    if (handles.link_font != nullptr) {
        DeleteObject(handles.link_font);
        handles.link_font = nullptr;
    }
}
