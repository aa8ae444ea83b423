#pragma once
// The signal view's mouse and keyboard as plain calls: each changes the markers, the selection,
// the zoom or the window bounds and says whether the view repaints. The view finds what lies under
// the pointer with the layout and hands it over as a PointerHit.

#include "app/dsp/sample_math.h"
#include "app/viewer/pict_doc.h"
#include "app/viewer/pict_panel_model.h"
#include "app/viewer/view_state.h"
#include "app/viewer/viewer_scene.h"

#include <array>

namespace zarno {

enum class ViewKey { Enter, Escape, End, Home, Left, Right, Up, Down, M, P, Other };

struct PointerHit {
    std::array<bool, kPictTraces> overSignal{}; // the pointer lies in trace i's signal area
    bool overAxisStrip = false;                  // in the strip of the signal axis
    bool overSingleScale = false;                // on the scale of the single-mode trace
    // The first signal area (trace order) under the pointer, -1 for none.
    int FirstArea() const;
};

enum class KeyOutcome { Repaint, PrintReport };

class ViewInput {
public:
    ViewInput(CPictDoc& doc, ViewState& view, ViewerScene& scene, PictPanelModel& panel);

    KeyOutcome Key(ViewKey key, int repeat);
    void LeftDown(int x, const PointerHit& hit);
    void LeftDoubleClick(int x, const PointerHit& hit);
    // Ctrl + double click: the first free marker (the nearest one when none is free) goes to the
    // click, snapped as a double click snaps, and becomes the current one.
    void AddMarker(int x, const PointerHit& hit);
    void RightDoubleClick(int x, const PointerHit& hit);
    // A pointer move with only the left (left = true) or only the right button down.
    void Drag(bool left, int x, int y, const PointerHit& hit);

    // The sample (or spectrum bin) under pointer x on the axis [first, last] of width pixels.
    static int SampleAt(int x, int first, int last, int width);

private:
    int SelectionSample(int x) const;
    int DragSample(int x) const;
    void MoveCurrent(int p);
    // The current marker to the extremum of the shown curve near sample q.
    void SnapCurrent(int q, const PointerHit& hit);
    // The extremum search around a sample within the shown part of the axis.
    dsp::ExtremumSearch Search(int around, const AxisRange& axis, dsp::ExtremumReach reach) const;
    void SearchAroundCurrent();
    // The selection one entry of the enabled list up or down, the screen rows scrolling with it.
    void SelectUp();
    void SelectDown();
    void DragAxisStrip(bool left, int x);
    void DragScale(int y);
    void WriteBounds(double lower, double upper, bool both);

    CPictDoc& m_doc;
    ViewState& m_view;
    ViewerScene& m_scene;
    PictPanelModel& m_panel;
    int m_lastX = 0;
    int m_lastY = 0;
};

} // namespace zarno
