#include "app/filemanager/splitter_scaling.h"

#include <algorithm>
#include <cstdint>

namespace zarno {

int InitialLeftColumnWidth(int savedPosition) {
    return savedPosition < kLeftColumnStartWidth ? kLeftColumnStartWidth : savedPosition;
}

int ScaleLeftColumn(int columnWidth, int newWidth, int previousWidth, int minimumWidth) {
    if (newWidth == 0)
        return columnWidth;
    const int64_t previous = previousWidth == 0 ? 1 : previousWidth;
    const int64_t scaled = int64_t(columnWidth) * newWidth / previous;
    if (scaled <= minimumWidth)
        return minimumWidth + 1;
    return scaled > INT32_MAX ? INT32_MAX : static_cast<int>(scaled);
}

int ClampLeftColumn(int requested, int available, int leftMinimum, int rightMinimum) {
    return std::max(leftMinimum, std::min(requested, available - rightMinimum));
}

} // namespace zarno
