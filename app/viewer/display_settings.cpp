#include "app/viewer/display_settings.h"

namespace zarno {

double FillLevelOfMode(int fillMode) {
    switch (fillMode) {
    case 1:
        return 0.5;
    case 2:
        return -0.5;
    default:
        return 1.0;
    }
}

} // namespace zarno
