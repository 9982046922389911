#include "center_on_desktop.h"

ScreenPoint CenteredOrigin(const ScreenRect& desktop, long window_width, long window_height,
                           long caption_height) {
    const long desktop_width = desktop.right - desktop.left;
    const long desktop_height = desktop.bottom - desktop.top;
    return ScreenPoint{desktop.left + (desktop_width - window_width) / 2 + caption_height,
                       desktop.top + (desktop_height - window_height) / 2 + caption_height};
}
