#include "app/viewer/view_input.h"

#include "app/dsp/sample_math.h"

#include <algorithm>

namespace zarno {

namespace {

constexpr int kArrowStep = 10;    // samples per arrow press
constexpr double kBoundStep = 0.1; // bound fields' step per drag move, in their units
// A double click is rarely closer than this to the peak it means, whatever the neighbourhood set:
// at full view half a metre is two pixels, and a search that narrow lands on the slope.
constexpr int kClickReachPixels = 8;

QString Fixed3(double v) {
    return QString::asprintf("%3.3f", v);
}

} // namespace

int PointerHit::FirstArea() const {
    for (int i = 0; i < kPictTraces; ++i)
        if (overSignal[static_cast<std::size_t>(i)])
            return i;
    return -1;
}

ViewInput::ViewInput(CPictDoc& doc, ViewState& view, ViewerScene& scene, PictPanelModel& panel)
    : m_doc(doc), m_view(view), m_scene(scene), m_panel(panel) {}

int ViewInput::SampleAt(int x, int first, int last, int width) {
    const int w = std::max(width, 1);
    return first + static_cast<int>(static_cast<double>(last - first) * x / w);
}

int ViewInput::SelectionSample(int x) const {
    const AxisRange axis = m_scene.SignalAxis();
    return SampleAt(x, axis.first, axis.last, axis.width);
}

int ViewInput::DragSample(int x) const {
    if (m_doc.Data().m_bSpectrum) {
        const AxisRange axis = m_scene.SpectrumAxis();
        return SampleAt(x, axis.first, axis.last, axis.width);
    }
    return SampleAt(x, m_doc.Data().m_nWindowStart, m_doc.Data().m_nWindowEnd, m_scene.SignalAxis().width);
}

void ViewInput::MoveCurrent(int p) {
    m_view.markers.Current() = p;
    m_panel.ShowMarkerReadout(p);
}

// ---- Keyboard ---------------------------------------------------------------------------------

dsp::ExtremumSearch ViewInput::Search(int around, const AxisRange& axis, dsp::ExtremumReach reach) const {
    dsp::ExtremumSearch search;
    search.marker = around;
    search.firstShown = axis.first;
    search.lastShown = axis.last;
    search.vicinity = m_view.vicinity;
    search.V = m_doc.Data().m_dVelocity;
    search.dt = m_doc.SampleIntervalSeconds();
    search.mode = m_view.searchMode;
    search.reach = reach;
    return search;
}

void ViewInput::SearchAroundCurrent() {
    // The curve on screen (filtered, gained, autocorrelated): the marker goes to the peak the user sees.
    const TraceArray& x = m_doc.DisplayedArray(m_panel.SearchTrace());
    if (x.empty())
        return;
    const dsp::ExtremumSearch search =
        Search(m_view.markers.Current(), m_scene.SignalAxis(), dsp::ExtremumReach::TwoWay);
    MoveCurrent(dsp::FindExtremum({x.data(), x.size()}, search));
}

void ViewInput::SelectUp() {
    const PictDocData& d = m_doc.Data();
    int index = d.m_nSelIndex - 1, row = d.m_nSelRow, first = d.m_nFirstRow;
    if (index < 0)
        index = row = first = 0;
    else if (row == 0)
        --first;
    else
        --row;
    m_doc.SetSelection(index, row, first);
}

void ViewInput::SelectDown() {
    const PictDocData& d = m_doc.Data();
    int index = d.m_nSelIndex + 1, row = d.m_nSelRow, first = d.m_nFirstRow;
    if (index > d.m_nEnabledCount - 1)
        index = std::max(d.m_nEnabledCount - 1, 0);
    else if (row < d.m_nGraphsOnScreen - 1)
        ++row;
    else
        ++first;
    m_doc.SetSelection(index, row, first);
}

KeyOutcome ViewInput::Key(ViewKey key, int repeat) {
    const bool spectrum = m_doc.Data().m_bSpectrum;
    const int single = m_doc.Data().m_nSingleTrace;
    switch (key) {
    case ViewKey::Enter:
        if (m_doc.Data().m_nGraphsOnScreen > 0 && m_doc.Data().m_nSelRow >= 0 && m_doc.Data().m_nSelRow < kPictTraces) {
            m_doc.SetSingleTrace(m_doc.Data().m_nVisible[static_cast<std::size_t>(m_doc.Data().m_nSelRow)]);
            m_scene.ResetY(m_doc.Data().m_nSingleTrace, spectrum);
            m_view.singleMode = true;
        }
        break;
    case ViewKey::Escape:
        m_view.singleMode = false;
        break;
    case ViewKey::End:
        MoveCurrent(m_doc.Data().m_nWindowEnd);
        break;
    case ViewKey::Home:
        MoveCurrent(m_doc.Data().m_nWindowStart);
        break;
    case ViewKey::Left:
        MoveCurrent(std::max(m_view.markers.Current() - kArrowStep * repeat, m_scene.SignalAxis().first));
        break;
    case ViewKey::Right:
        MoveCurrent(std::min(m_view.markers.Current() + kArrowStep * repeat, m_scene.SignalAxis().last));
        break;
    case ViewKey::Up:
        if (m_view.singleMode) {
            m_scene.ShiftY(single, spectrum, -m_scene.MinSpan(single, spectrum));
            break;
        }
        m_panel.SetGraphNumber(1);
        SelectUp();
        break;
    case ViewKey::Down:
        if (m_view.singleMode) {
            m_scene.ShiftY(single, spectrum, m_scene.MinSpan(single, spectrum));
            break;
        }
        m_panel.SetGraphNumber(2);
        SelectDown();
        break;
    case ViewKey::M:
        SearchAroundCurrent();
        break;
    case ViewKey::P:
        m_scene.Redraw();
        return KeyOutcome::PrintReport;
    case ViewKey::Other:
        break;
    }
    m_scene.Redraw();
    return KeyOutcome::Repaint;
}

// ---- Mouse ------------------------------------------------------------------------------------

void ViewInput::LeftDown(int x, const PointerHit& hit) {
    m_lastX = x;
    if (hit.FirstArea() >= 0)
        m_view.markers.MakeCurrent(m_view.markers.NearestTo(SelectionSample(x)));
    m_scene.Redraw();
}

void ViewInput::RightDoubleClick(int x, const PointerHit& hit) {
    if (hit.FirstArea() >= 0) {
        const int q = SelectionSample(x);
        const int j = m_view.markers.NearestTo(q);
        if (j != m_view.markers.current) {
            m_view.markers.MakeCurrent(j);
            m_view.markers.Current() = q;
        }
        // At the window start a marker is not drawn: this takes it away.
        m_view.markers.Current() = m_panel.RemovedMarkerPosition();
        m_panel.MarkersMoved();
    }
    m_scene.Redraw();
}

void ViewInput::LeftDoubleClick(int x, const PointerHit& hit) {
    if (hit.FirstArea() < 0 || m_doc.Data().m_nSamples <= 0) {
        m_scene.Redraw();
        return;
    }
    const int q = std::clamp(SelectionSample(x), 0, m_doc.Data().m_nSamples - 1);
    const int j = m_view.markers.NearestTo(q);
    if (j != m_view.markers.current) {
        m_view.markers.MakeCurrent(j);
        m_view.markers.Current() = q;
    }
    SnapCurrent(q, hit);
}

void ViewInput::AddMarker(int x, const PointerHit& hit) {
    if (hit.FirstArea() < 0 || m_doc.Data().m_nSamples <= 0) {
        m_scene.Redraw();
        return;
    }
    const int q = std::clamp(SelectionSample(x), 0, m_doc.Data().m_nSamples - 1);
    const auto& position = m_view.markers.position;
    const auto free = std::find_if(position.begin(), position.end(), [this](int p) { return m_panel.IsFreeMarker(p); });
    const int j = free != position.end() ? static_cast<int>(free - position.begin()) : m_view.markers.NearestTo(q);
    m_view.markers.MakeCurrent(j);
    m_view.markers.Current() = q;
    SnapCurrent(q, hit);
}

void ViewInput::SnapCurrent(int q, const PointerHit& hit) {
    const AxisRange axis = m_scene.SignalAxis();
    dsp::ExtremumSearch search = Search(q, axis, dsp::ExtremumReach::Click);
    const int width = std::max(axis.width, 1);
    search.minRadius = (kClickReachPixels * std::max(axis.last - axis.first, 0) + width - 1) / width;
    // The pulse pointed at may run either way: its larger swing is the one meant.
    search.mode = dsp::ExtremumMode::AbsMax;
    const int trace = m_panel.SearchTrace();
    // The click searches the curve shown, and only when it landed on the search trace.
    const TraceArray& shown = m_doc.DisplayedArray(trace);
    const int found = hit.overSignal[static_cast<std::size_t>(trace)]
                          ? dsp::FindExtremum({shown.data(), shown.size()}, search)
                          : dsp::ExtremumWindow(search).first;
    MoveCurrent(found);
    m_scene.Redraw();
}

void ViewInput::WriteBounds(double lower, double upper, bool both) {
    // The upper bound goes first when the window moves up, the lower one first when it moves
    // down, so the window never passes through a state narrower than the bounds allow.
    if (!both) {
        m_panel.SetUpperText(Fixed3(upper));
        return;
    }
    if (upper > LeadingNumber(m_panel.UpperText())) {
        m_panel.SetUpperText(Fixed3(upper));
        m_panel.SetLowerText(Fixed3(lower));
    } else {
        m_panel.SetLowerText(Fixed3(lower));
        m_panel.SetUpperText(Fixed3(upper));
    }
}

void ViewInput::DragAxisStrip(bool left, int x) {
    const bool right = x > m_lastX;
    const bool leftward = x < m_lastX;
    const int traces = m_doc.Data().m_nTraceCount;
    if (m_doc.Data().m_bSpectrum) {
        const int bias = right ? -m_doc.Data().m_display.m_nBiasXFur : m_doc.Data().m_display.m_nBiasXFur;
        if (right || leftward)
            left ? m_scene.PanSpectra(traces, bias) : m_scene.ZoomSpectra(traces, bias);
    } else {
        const double lower = LeadingNumber(m_panel.LowerText());
        const double upper = LeadingNumber(m_panel.UpperText());
        const double end = m_panel.DataEndInUnits();
        if (!left) {
            if (right && upper - kBoundStep >= 0.0)
                WriteBounds(lower, upper - kBoundStep, false);
            else if (leftward && upper + kBoundStep <= end)
                WriteBounds(lower, upper + kBoundStep, false);
        } else {
            if (right && lower - kBoundStep >= 0.0)
                WriteBounds(lower - kBoundStep, upper - kBoundStep, true);
            else if (leftward && upper + kBoundStep <= end)
                WriteBounds(lower + kBoundStep, upper + kBoundStep, true);
        }
    }
    m_lastX = x;
}

void ViewInput::DragScale(int y) {
    const int trace = m_doc.Data().m_nSingleTrace;
    const bool spectrum = m_doc.Data().m_bSpectrum;
    const double d = m_scene.MinSpan(trace, spectrum);
    if (y > m_lastY)
        m_scene.ZoomTop(trace, spectrum, d);
    else if (y < m_lastY)
        m_scene.ZoomTop(trace, spectrum, -d);
    m_lastY = y;
}

void ViewInput::Drag(bool left, int x, int y, const PointerHit& hit) {
    if (hit.overAxisStrip) {
        DragAxisStrip(left, x);
    } else if (!left) {
        if (hit.overSingleScale)
            DragScale(y);
    } else if (!hit.overSingleScale && hit.FirstArea() >= 0) {
        MoveCurrent(DragSample(x));
    }
    m_scene.Redraw();
}

} // namespace zarno
