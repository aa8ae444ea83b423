#pragma once
// A trace of tens of thousands of samples lands on a picture of a few hundred to two thousand pixel
// columns: dozens of samples a column. Drawing every one of them costs the rasteriser a vertex or a
// quadrilateral each, yet only a few of them decide which pixels turn black. These pick those few;
// drawing them gives the same pixels as drawing all.
//
// Samples first, first + step, … below last are drawn; sample s lies at window column
// left + (s − xMin) · pixels / (xMax − xMin), as the area's viewport and projection place it.

#include <vector>

namespace zarno {

struct TraceColumns {
    double left = 0.0;   // the viewport's left edge, in window pixels
    double pixels = 0.0; // the viewport's width
    double xMin = 0.0, xMax = 0.0;
    // Pixel rows per unit of the values as drawn (gain included); the strip's choice needs it.
    double rowsPerValue = 0.0;

    double PixelOf(double sample) const { return left + (sample - xMin) * pixels / (xMax - xMin); }
};

// The line strip through every sample covers, within each pixel column, every row between the
// column's lowest and highest sample, the pixel where it crosses the column's middle, and the ends
// it reaches into the outermost rows. A strip through the first and last sample of each column, the
// two either side of its middle and every sample within a row of its lowest or highest (with their
// neighbours), in their order, covers the same pixels. Samples close to a column's edge or middle,
// where rounding could put them on either side, are all kept. A gain applied when drawing (of either
// sign) keeps the same lowest and highest samples; only its size counts, in rowsPerValue.
std::vector<int> StripSamples(const double* data, int first, int last, int step, const TraceColumns& columns);

// The fill puts a quadrilateral from x to x + step under each sample; a pixel is filled by the one
// whose span holds the middle of the pixel's column. These are the samples whose span holds a column's
// middle, or comes close to one (either neighbour of a tie is kept).
std::vector<int> FillSamples(int first, int last, int step, const TraceColumns& columns);

} // namespace zarno
