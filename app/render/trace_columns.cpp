#include "app/render/trace_columns.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

// The rasteriser snaps vertices to a grid of a fraction of a pixel (1/256 in Mesa's software
// rasterisers, coarser in some hardware): a sample this close to a column's edge or middle may land on
// either side of it.
constexpr double kTie = 1.0 / 64.0;

// Where a sample lies within its pixel column: the column, and whether it is close enough to the
// column's edge or middle that the rasteriser might see it on the other side.
struct ColumnPlace {
    double column = 0.0;
    bool nearEdge = false;
    bool nearMiddle = false;
    bool beforeMiddle = false;
};

ColumnPlace PlaceOf(double pixel) {
    const double column = std::floor(pixel);
    const double within = pixel - column;
    return {column, within < kTie || within > 1.0 - kTie, std::fabs(within - 0.5) < kTie, within < 0.5};
}

// The samples of one run within a column, from begin (inclusive) to end (exclusive): its first and
// last, the last one before the column's middle with the one after it, and every sample within a
// pixel row of the run's lowest or highest with its neighbours: every row between those two is
// crossed by the strip anyway, but whether the rasteriser ends the line on the pixels of the outermost
// rows depends on the segments that reach into them.
void KeepColumn(const double* data, int begin, int end, int step, const TraceColumns& columns,
                std::vector<int>& kept) {
    double low = data[begin], high = data[begin];
    int lastBeforeMiddle = -1, lastSample = begin;
    std::vector<int> picks;
    for (int x = begin; x < end; x += step) {
        low = std::min(low, data[x]);
        high = std::max(high, data[x]);
        const ColumnPlace place = PlaceOf(columns.PixelOf(x));
        if (place.beforeMiddle)
            lastBeforeMiddle = x;
        if (place.nearMiddle)
            picks.insert(picks.end(), {x - step, x, x + step});
        lastSample = x;
    }
    const double band = (1.0 + kTie) / columns.rowsPerValue;
    picks.insert(picks.end(), {begin, lastSample});
    if (lastBeforeMiddle >= 0)
        picks.insert(picks.end(), {lastBeforeMiddle, lastBeforeMiddle + step});
    for (int x = begin; x < end; x += step)
        if (data[x] - low <= band || high - data[x] <= band)
            picks.insert(picks.end(), {x - step, x, x + step});
    std::sort(picks.begin(), picks.end());
    for (const int x : picks)
        if (x >= begin && x < end && (kept.empty() || kept.back() != x))
            kept.push_back(x);
}

} // namespace

std::vector<int> StripSamples(const double* data, int first, int last, int step, const TraceColumns& columns) {
    std::vector<int> kept;
    if (step < 1 || columns.pixels <= 0.0 || columns.xMax == columns.xMin || !(columns.rowsPerValue > 0.0) ||
        !std::isfinite(columns.rowsPerValue)) {
        for (int x = first; x < last; x += std::max(step, 1))
            kept.push_back(x);
        return kept;
    }
    for (int x = first; x < last;) {
        const ColumnPlace place = PlaceOf(columns.PixelOf(x));
        if (place.nearEdge) {
            kept.push_back(x);
            x += step;
            continue;
        }
        // A run of samples in one column, up to the next one near an edge (kept alone: it may lie in
        // either column); each run keeps its own picks, so a column cut into runs loses no pixel.
        int end = x + step;
        for (; end < last; end += step) {
            const ColumnPlace next = PlaceOf(columns.PixelOf(end));
            if (next.column != place.column || next.nearEdge)
                break;
        }
        KeepColumn(data, x, end, step, columns, kept);
        x = end;
    }
    return kept;
}

std::vector<int> FillSamples(int first, int last, int step, const TraceColumns& columns) {
    std::vector<int> kept;
    const bool plain = step < 1 || columns.pixels <= 0.0 || columns.xMax == columns.xMin;
    for (int x = first; x < last; x += std::max(step, 1)) {
        if (plain) {
            kept.push_back(x);
            continue;
        }
        const double from = columns.PixelOf(x) - kTie - 0.5, to = columns.PixelOf(x + step) + kTie - 0.5;
        // A column's middle (c + 0.5) lies in [from + 0.5, to + 0.5] when an integer c lies in [from, to].
        if (std::ceil(std::min(from, to)) <= std::floor(std::max(from, to)))
            kept.push_back(x);
    }
    return kept;
}

} // namespace zarno
