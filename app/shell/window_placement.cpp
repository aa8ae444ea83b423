#include "app/shell/window_placement.h"

#include <algorithm>

namespace zarno {

QRect PlaceWithin(const QRect& window, const QRect& available) {
    if (!available.isValid())
        return window;
    const int width = std::clamp(window.width(), 1, available.width());
    const int height = std::clamp(window.height(), 1, available.height());
    const int left = std::clamp(window.left(), available.left(), available.right() + 1 - width);
    const int top = std::clamp(window.top(), available.top(), available.bottom() + 1 - height);
    return {left, top, width, height};
}

} // namespace zarno
