#include "app/viewer/view_state.h"

#include <cstdlib>

namespace zarno {

int MarkerSet::NearestTo(int q) const {
    int best = 0;
    for (int j = 1; j < kMarkerCount; ++j)
        if (std::abs(position[static_cast<std::size_t>(j)] - q) <
            std::abs(position[static_cast<std::size_t>(best)] - q))
            best = j;
    return best;
}

void MarkerSet::MakeCurrent(int j) {
    if (j == current)
        return;
    previous = current;
    current = j;
}

} // namespace zarno
