#include "app/viewer/lengths_list.h"

#include "app/dsp/sample_math.h"

#include <algorithm>

namespace zarno {

LengthsList ComputeLengthsList(std::span<const int, kLengthsListRows> markers, int zero,
                               double dtSeconds, double velocity) {
    LengthsList list;
    list.entries.fill(kUnusedLength);
    const double t0 = zero * dtSeconds;
    for (const int p : markers) {
        // A marker at (or before) the zero is a removed marker: it gives no length.
        if (p <= zero)
            continue;
        const double length = dsp::LengthOfTime(p * dtSeconds - t0, velocity);
        if (length != 0.0)
            list.entries[static_cast<std::size_t>(list.count++)] = length;
    }
    std::sort(list.entries.begin(), list.entries.end());
    for (int s = 0; s < kLengthsListRows; ++s) {
        const auto row = static_cast<std::size_t>(s);
        list.numbers[row] = QString::number(s + 1);
        list.texts[row] = s < list.count ? QString::asprintf("%2.3f", list.entries[row]) : QStringLiteral("- 0 -");
    }
    return list;
}

} // namespace zarno
