#pragma once
// CGraphArea: one plot area, the picture of one trace (or one spectrum). Its data belong to the
// document; it keeps the visible sample range, the world window and the range of the data.

#include "app/paint/paint_description.h"
#include "app/render/graph_element.h"

#include <array>

namespace zarno {

struct TraceColumns;

class CGraphArea : public CGraphElement {
public:
    // count samples at data; the visible range is first … last, bounded by 0 and count − 1. The y
    // window becomes the data range over the visible range; min span = that span / divisor
    // (divisor 0 counts as 1).
    void SetData(int first, int last, int count, const double* data, double divisor, int index);
    void SetRange(int first, int last);
    // Moves the visible range by delta; refused (false, nothing changes) beyond either end.
    bool Shift(int delta);
    // Widens (or narrows) the y window; refused when the new span is not above min span.
    bool ZoomY(double deltaBottom, double deltaTop);

    // Projections; each stores the projected window as the area's window.
    void SetOrtho(double xMin, double xMax, double yMin, double yMax);
    void SetSlotOrtho(int count, int slot);
    void SetSlotOrthoInverted(int count, int slot);

    void FillBackground(float r, float g, float b);
    void DrawGrid();
    void DrawTrace(int step, const GraphMarkers& markers, int current, int previous, int grid);
    void DrawScaledTrace(int step, const GraphMarkers& markers, int current, int previous, double gain, int grid);
    void DrawSlotTrace(int step, int count, int slot, double dataMin, double dataMax, double gain, double fillLevel,
                       const GraphMarkers& markers, int current, int previous, int grid);
    void DrawMarkers(const GraphMarkers& markers, int current, int previous);

    // The pixel ↔ sample/value mapping of the area as last projected.
    PlotMapping Mapping() const { return {m_viewport, m_dXMin, m_dXMax, m_dYMin, m_dYMax}; }

    int m_nIndex = 0;
    double m_dXMin = 0.0, m_dXMax = 0.0, m_dYMin = 0.0, m_dYMax = 0.0;
    double m_dInitXMin = 0.0, m_dInitXMax = 0.0, m_dInitYMin = 0.0, m_dInitYMax = 0.0;
    double m_dMinSpan = 0.0;
    int m_nCount = 0;
    int m_nFirst = 0;
    int m_nLast = 0;
    double m_dDataMin = 0.0, m_dDataMax = 0.0;
    int m_nIndexOfMin = 0, m_nIndexOfMax = 0;
    const double* m_pData = nullptr;

private:
    struct SlotRange {
        double low, high;
    };
    // The data range a slot is projected from; a flat trace gets a range around its value.
    SlotRange DataRangeForSlots() const;
    bool HasData() const { return m_pData != nullptr && m_nCount > 0; }
    // The viewport's columns and rows under the last projection, for values drawn times gain.
    TraceColumns Columns(double gain) const;
    void StripThrough(int step, double gain);
    void FillColumns(int step, double u, double base, bool upper);

    double m_projectedXMin = 0.0, m_projectedXMax = 1.0;
};

} // namespace zarno
