#include "app/viewer/pict_panel_model.h"

#include "app/analysis/toe_finder.h"
#include "app/dsp/sample_math.h"
#include "app/viewer/pict_processing.h"

#include <QByteArray>
#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>

namespace zarno {

QString SwitchToSpectrumText() {
    return QCoreApplication::translate("zarno::Viewer", "Перейдите в режим оотображения спектра сигналов!");
}

QString TimeReadoutLabel() {
    return QCoreApplication::translate("zarno::Viewer", "Время (ms) : ");
}

QString LengthReadoutLabel() {
    return QCoreApplication::translate("zarno::Viewer", "Длина (m) : ");
}

QString MarkerReadoutText(const QString& label, double value) {
    return label + QString::asprintf("%7.3f", value);
}

QString FrequencyReadoutText(double hz) {
    return QCoreApplication::translate("zarno::Viewer", "Частота (Гц): %1").arg(hz, 7, 'f', 0);
}

namespace {

constexpr int kMinWindow = 10; // samples kept between the bounds

const QString kRefusedKyCharacters =
    QStringLiteral("qwertyuiop[]asdfghjkl;'zxcvbnm,/`=~!@#$%^&*()_+QWEERTYUIOP{}ASDFGHJKL:ZXCVBNM<>?|");

QString Fixed3(double v) {
    return QString::asprintf("%3.3f", v);
}

std::span<const double> Values(const TraceArray& a) {
    return {a.data(), a.size()};
}

} // namespace

double LeadingNumber(const QString& text) {
    const QByteArray latin = text.trimmed().toLatin1();
    char* end = nullptr;
    const double v = std::strtod(latin.constData(), &end);
    return end == latin.constData() ? 0.0 : v;
}

std::optional<KyEntry> ParseKy(const QString& typed) {
    for (const QChar c : typed)
        if (kRefusedKyCharacters.contains(c))
            return std::nullopt;
    const qsizetype dot = typed.indexOf(QLatin1Char('.'));
    KyEntry entry;
    entry.text = dot < 0 ? typed.left(1) : typed.left(dot + 2);
    entry.value = LeadingNumber(entry.text);
    if (entry.value == 0.0)
        return std::nullopt;
    return entry;
}

PictPanelModel::PictPanelModel(CPictDoc& doc, ViewState& view, ViewerScene& scene,
                               dsp::FilterSettings& filter, Prompts& prompts)
    : m_doc(doc), m_view(view), m_scene(scene), m_filterSettings(filter), m_prompts(prompts) {}

void PictPanelModel::InitialUpdate() {
    // A document made in memory comes with its speed (a site's pile at the site's speed); a file
    // starts from the panel's own.
    if (m_doc.Data().m_bInMemory)
        SetVelocity(m_doc.Data().m_dVelocity);
    else
        SetVelocityText(kStartVelocityText);
    SetVicinityText(kStartVicinityText);
    m_view.searchMode = dsp::ExtremumMode::Max;
    m_graphNumber = 1;
    m_view.searchTrace = 0;
    m_view.timeUnits = true;
    const double dt = m_doc.SampleIntervalSeconds();
    m_doc.SetUnits(true);
    SetLowerText(kStartLowerText);
    SetUpperText(Fixed3((m_doc.Data().m_nSamples - 1) * dt * 1000.0));
    m_rows.clear();
    for (int i = 0; i < m_doc.Data().m_nTraceCount; ++i) {
        const auto t = static_cast<std::size_t>(i);
        m_rows.push_back({m_doc.Data().m_display.m_bShown[t], QString::asprintf("%2.1f", m_doc.Data().m_dGain[t]),
                          QStringLiteral("0")});
    }
}

QString PictPanelModel::TracesNote() const {
    if (m_doc.Data().m_nFileTraceCount <= kPictTraces)
        return {};
    return QCoreApplication::translate("zarno::Viewer", "Показаны трассы 1 и 2 из %1")
        .arg(m_doc.Data().m_nFileTraceCount);
}

int PictPanelModel::Zero() const {
    return m_doc.Data().m_nZeroSample;
}

int PictPanelModel::RemovedMarkerPosition() const {
    // Out of sight (a marker is not drawn at the window's edge) and giving no length (at or before
    // the zero), wherever the window lies against the zero.
    return std::min(m_doc.Data().m_nWindowStart, Zero());
}

int PictPanelModel::SearchTrace() const {
    return std::clamp(m_view.searchTrace, 0, std::max(m_doc.Data().m_nTraceCount - 1, 0));
}

// ---- Marker properties ------------------------------------------------------------------------

void PictPanelModel::SetVelocityText(const QString& text) {
    m_velocity = text;
    m_doc.SetVelocity(LeadingNumber(text));
    UpdateLengths();
}

void PictPanelModel::SetVelocity(double velocity) {
    m_velocity = QString::number(velocity);
    m_doc.SetVelocity(velocity);
    UpdateLengths();
}

void PictPanelModel::SetVicinityText(const QString& text) {
    m_vicinity = text;
    m_view.vicinity = LeadingNumber(text);
}

void PictPanelModel::SetSearchMode(dsp::ExtremumMode mode) {
    m_view.searchMode = mode;
}

void PictPanelModel::SetGraphNumber(int number) {
    m_graphNumber = number;
    m_view.searchTrace = std::clamp(number - 1, 0, kPictTraces - 1);
    if (!m_doc.Data().m_bLoaded)
        return;
    const int trace = SearchTrace();
    if (m_doc.Data().m_bProcessing)
        m_view.markers.Current() = ReflectionLag(trace) + Zero();
    ShowValuesAt(m_view.markers.Current());
    ShowTimeAndLength(m_view.markers.Current() - Zero());
    UpdateLengths();
    m_scene.Redraw();
}

void PictPanelModel::UpdateLengths() {
    m_lengths = ComputeLengthsList(m_view.markers.position, Zero(),
                                   m_doc.SampleIntervalSeconds(), m_doc.Data().m_dVelocity);
}

std::optional<double> PictPanelModel::CurrentMarkerLength() const {
    const int p = m_view.markers.Current();
    if (!m_doc.Data().m_bLoaded || IsFreeMarker(p))
        return std::nullopt;
    return dsp::LengthOfTime((p - Zero()) * m_doc.SampleIntervalSeconds(), m_doc.Data().m_dVelocity);
}

void PictPanelModel::ShowMarkerReadouts() {
    m_timeReadout = MarkerReadoutText(TimeReadoutLabel(), m_markerTimeMs);
    m_lengthReadout = MarkerReadoutText(LengthReadoutLabel(), m_markerLength);
    const MarkerSet& m = m_view.markers;
    const int previous = m.position[static_cast<std::size_t>(m.previous)];
    m_deltaReadout = kDeltaReadoutLabel;
    if (m.previous == m.current || IsFreeMarker(previous) || IsFreeMarker(m.Current()))
        return;
    const double t = (m.Current() - previous) * m_doc.SampleIntervalSeconds();
    m_deltaReadout += QString::asprintf("%.3f ms, %.3f m", t * 1000.0, dsp::LengthOfTime(t, m_doc.Data().m_dVelocity));
}

void PictPanelModel::ShowTimeAndLength(int column) {
    const double t = column * m_doc.SampleIntervalSeconds();
    m_markerTimeMs = t * 1000.0;
    m_markerLength = dsp::LengthOfTime(t, m_doc.Data().m_dVelocity);
    ShowMarkerReadouts();
}

void PictPanelModel::ResetMarkers() {
    m_view.markers.position.fill(RemovedMarkerPosition());
    UpdateLengths();
    m_scene.Redraw();
}

void PictPanelModel::SetMarkers(const MarkerSet& markers) {
    m_view.markers = markers;
    UpdateLengths();
}

void PictPanelModel::MarkersMoved() {
    UpdateLengths();
}

// ---- Readouts ---------------------------------------------------------------------------------

void PictPanelModel::ShowValuesAt(int p) {
    for (std::size_t i = 0; i < m_rows.size() && i < m_doc.Data().m_pRaw.size(); ++i) {
        const TraceArray& raw = m_doc.Data().m_pRaw[i];
        if (p >= 0 && static_cast<std::size_t>(p) < raw.size())
            m_rows[i].value = QString::asprintf("%5.5g", raw[static_cast<std::size_t>(p)]);
    }
}

void PictPanelModel::ShowSpectrumValuesAt(int bin) {
    for (std::size_t i = 0; i < m_rows.size() && i < m_doc.Data().m_pSpectrum.size(); ++i) {
        const TraceArray& spectrum = m_doc.Data().m_pSpectrum[i];
        if (bin >= 0 && static_cast<std::size_t>(bin) < spectrum.size())
            m_rows[i].value = QString::asprintf("%5.5g", spectrum[static_cast<std::size_t>(bin)]);
    }
}

double PictPanelModel::BinHz() const {
    // From Δt, whatever units the signal axis shows.
    return dsp::SpectrumFrequencyStep(m_doc.Data().m_nSamples, m_doc.SampleIntervalSeconds() * 1000.0);
}

void PictPanelModel::ShowSpectrumReadouts(int bin) {
    m_timeReadout = FrequencyReadoutText(bin * BinHz());
    m_lengthReadout = LengthReadoutLabel();
    m_deltaReadout = kDeltaReadoutLabel;
    // Two markers on neighbouring peaks of the spectrum: the pile's resonances are V / 2L apart.
    const MarkerSet& m = m_view.markers;
    const int previous = m.position[static_cast<std::size_t>(m.previous)];
    if (m.previous == m.current || previous <= 0 || bin <= 0 || previous == bin)
        return;
    const double df = std::abs(bin - previous) * BinHz();
    m_deltaReadout += QCoreApplication::translate("zarno::Viewer", "%1 Гц").arg(df, 0, 'f', 0);
    m_lengthReadout += QString::asprintf("%7.3f", m_doc.Data().m_dVelocity / (2.0 * df));
}

void PictPanelModel::ShowMarkerReadout(int p) {
    if (m_doc.Data().m_bSpectrum) {
        ShowSpectrumValuesAt(p);
        ShowSpectrumReadouts(p);
        return;
    }
    ShowValuesAt(p);
    ShowTimeAndLength(p - Zero());
    UpdateLengths();
}

// ---- X axis and bounds ------------------------------------------------------------------------

double PictPanelModel::BoundInUnits(int sample) const {
    const double dt = m_doc.SampleIntervalSeconds();
    return m_view.timeUnits ? sample * dt * 1000.0 : dsp::LengthOfSample(0.0, sample, m_doc.Data().m_dVelocity, dt);
}

double PictPanelModel::DataEndInUnits() const {
    return BoundInUnits(m_doc.Data().m_nSamples - 1);
}

QString PictPanelModel::FormatBound(int sample) const {
    return Fixed3(BoundInUnits(sample));
}

int PictPanelModel::SampleOfBound(double value) const {
    const double dt = m_doc.SampleIntervalSeconds();
    const int32_t s = m_view.timeUnits ? dsp::SampleOfTime(0.0, value / 1000.0, dt)
                                       : dsp::SampleOfLength(0.0, value, m_doc.Data().m_dVelocity, dt);
    return std::max(s, 0);
}

void PictPanelModel::SetTimeUnits(bool time) {
    m_view.timeUnits = time;
    m_doc.SetUnits(time);
    // The bounds are shown again in the new units; the window itself stays, since reading the
    // rounded texts back could only move it.
    m_lower = FormatBound(m_doc.Data().m_nWindowStart);
    m_upper = FormatBound(m_doc.Data().m_nWindowEnd);
    ShowGraphs();
    m_scene.Redraw();
}

void PictPanelModel::SetLowerText(const QString& text) {
    m_lower = text;
    if (!m_doc.Data().m_bLoaded)
        return;
    int first = SampleOfBound(LeadingNumber(text));
    const int last = m_doc.Data().m_nWindowEnd;
    if (first > last - kMinWindow)
        first = (last - kMinWindow < 0 || last == kMinWindow) ? 0 : last - kMinWindow;
    m_doc.SetWindow(first, last);
    for (int& p : m_view.markers.position)
        if (p < first)
            p = 0;
    ApplyWindow();
}

void PictPanelModel::SetUpperText(const QString& text) {
    m_upper = text;
    if (!m_doc.Data().m_bLoaded)
        return;
    const int lastSample = std::max(m_doc.Data().m_nSamples - 1, 0);
    int last = std::min(SampleOfBound(LeadingNumber(text)), lastSample - 1) + 1;
    const int first = m_doc.Data().m_nWindowStart;
    if (last < first)
        last = std::min(first + kMinWindow, lastSample);
    m_doc.SetWindow(first, last);
    for (int& p : m_view.markers.position)
        if (p > last)
            p = std::max(last - 1, 0);
    ApplyWindow();
}

void PictPanelModel::SetZero() {
    int index = 0;
    if (!m_doc.Data().m_bProcessing)
        index = dsp::IndexOfAbsMax(Values(m_doc.DisplayedArray(SearchTrace())));
    // A zero past the upper bound takes the bound along, so the window never turns inside out.
    m_doc.SetWindow(index, std::max(m_doc.Data().m_nWindowEnd,
                                    std::min(index + kMinWindow, std::max(m_doc.Data().m_nSamples - 1, 0))));
    // The markers go just before the new zero (out of sight), never before the first sample.
    m_view.markers.position.fill(std::max(index - 1, 0));
    m_lower = FormatBound(index);
    m_doc.SetZero(index);
    ApplyWindow();
}

void PictPanelModel::RestoreBounds() {
    m_doc.SetWindow(0, std::max(m_doc.Data().m_nSamples - 1, 0));
    // Shown in the units the fields are labelled with (a time in a length field would be read back
    // as metres by the next edit).
    m_upper = FormatBound(m_doc.Data().m_nWindowEnd);
    m_lower = kStartLowerText;
    ApplyWindow();
}

analysis::ToeResult PictPanelModel::Toe(int trace) const {
    const TraceArray& raw = m_doc.Data().m_pRaw[static_cast<std::size_t>(std::clamp(trace, 0, kPictTraces - 1))];
    return analysis::FindToe({raw.data(), raw.size()}, m_doc.SampleIntervalSeconds(), m_doc.Data().m_dVelocity);
}

int PictPanelModel::ReflectionLag(int trace) const {
    // The toe finder's answer where it gives one; the autocorrelation's own estimate otherwise.
    const analysis::ToeResult toe = Toe(trace);
    if (toe.found)
        return toe.index - toe.blowIndex;
    return m_doc.Data().m_nEchoIndex[static_cast<std::size_t>(std::clamp(trace, 0, kPictTraces - 1))];
}

std::optional<int> PictPanelModel::ToeSample() const {
    if (const analysis::ToeResult toe = Toe(SearchTrace()); toe.found)
        return toe.index;
    const auto t = static_cast<std::size_t>(SearchTrace());
    const int reflection = m_doc.Data().m_nEchoIndex[t];
    if (reflection <= 0)
        return std::nullopt;
    // The automatic reflection is a lag after the blow.
    return m_doc.Data().m_nImpactIndex[t] + reflection;
}

void PictPanelModel::FitToPile() {
    const int lastSample = std::max(m_doc.Data().m_nSamples - 1, 0);
    const std::optional<int> toe = ToeSample();
    if (!toe || *toe <= Zero()) {
        RestoreBounds();
        return;
    }
    const int first = Zero();
    const int last = std::min(first + std::max((3 * (*toe - first) + 1) / 2, kMinWindow), lastSample);
    m_doc.SetWindow(first, last);
    m_lower = FormatBound(first);
    m_upper = FormatBound(last);
    ApplyWindow();
}

void PictPanelModel::ApplyWindow() {
    m_doc.ApplyEditedGain();
    UpdateLengths();
    ShowGraphs();
    m_scene.Redraw();
}

void PictPanelModel::ShowGraphs() {
    // The autocorrelations show their whole range; traces get one unit of room above and below.
    m_scene.SetUpSignals(m_doc.Data().m_bProcessing ? 0.0 : 1.0);
}

// ---- Graph list -------------------------------------------------------------------------------

void PictPanelModel::SetShown(int row, bool shown) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    const auto r = static_cast<std::size_t>(row);
    if (!m_doc.Data().m_bLoaded) {
        m_rows[r].checked = m_doc.Data().m_display.m_bShown[r];
        return;
    }
    m_doc.SetShown(row, shown);
    m_rows[r].checked = shown;
    if (!shown && row == m_view.searchTrace)
        SetGraphNumber(2 - row);
    const int most = std::min(m_doc.Data().m_display.m_nMaxGraphs == 0 ? kDefaultMaxGraphs : m_doc.Data().m_display.m_nMaxGraphs,
                              m_doc.Data().m_nEnabledCount);
    if (shown)
        m_doc.SetGraphsOnScreen(std::min(m_doc.Data().m_nGraphsOnScreen + 1, most));
    else if (m_doc.Data().m_nGraphsOnScreen > m_doc.Data().m_nEnabledCount)
        m_doc.SetGraphsOnScreen(m_doc.Data().m_nEnabledCount);
    m_doc.SetSelection(0, 0, 0);
    m_scene.Redraw();
}

bool PictPanelModel::EditKy(int row, const QString& typed) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return false;
    const std::optional<KyEntry> entry = ParseKy(typed);
    if (!entry)
        return false;
    m_rows[static_cast<std::size_t>(row)].ky = entry->text;
    m_doc.SetGain(row, entry->value);
    m_scene.Redraw();
    return true;
}

void PictPanelModel::HeaderClicked(GraphColumn column) {
    switch (column) {
    case GraphColumn::Number:
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            m_rows[i].checked = true;
            m_doc.SetShown(static_cast<int>(i), true);
        }
        m_doc.SetGraphsOnScreen(
            std::min(m_doc.Data().m_nTraceCount, m_doc.Data().m_display.m_nMaxGraphs == 0
                                                     ? kDefaultMaxGraphs
                                                     : m_doc.Data().m_display.m_nMaxGraphs));
        m_scene.Redraw();
        break;
    case GraphColumn::Ky:
        if (m_doc.Data().m_bSpectrum)
            break;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            m_doc.SetGain(static_cast<int>(i), 1.0);
            m_rows[i].ky = QStringLiteral("1.0");
        }
        m_scene.Redraw();
        break;
    case GraphColumn::Value:
        for (GraphRow& row : m_rows)
            row.value = QStringLiteral("0");
        break;
    }
}

// ---- Switches ---------------------------------------------------------------------------------

void PictPanelModel::SetUseVaru(bool checked) {
    m_varu.checked = checked;
    m_doc.SetUseVaru(checked);
    if (checked) {
        m_doc.SetProcessing(false);
        m_processing = {false, false};
    } else if (!m_doc.Data().m_bUseFilter) {
        m_processing.enabled = true;
    }
    RefreshDisplay();
}

void PictPanelModel::SetUseFilter(bool checked) {
    m_filter.checked = checked;
    m_doc.SetUseFilter(checked);
    if (checked) {
        m_doc.SetProcessing(false);
        m_processing = {false, false};
    } else if (!m_doc.Data().m_bUseVaru && !m_doc.Data().m_bSpectrum) {
        m_processing.enabled = true;
    }
    RefreshDisplay();
}

void PictPanelModel::SetProcessing(bool checked) {
    m_processing.checked = checked;
    m_doc.SetProcessing(checked);
    if (checked) {
        m_doc.SetUseVaru(false);
        m_doc.SetUseFilter(false);
        m_varu.enabled = m_filter.enabled = false;
    } else {
        m_varu.enabled = m_filter.enabled = true;
        m_doc.SetUseVaru(m_varu.checked);
        m_doc.SetUseFilter(m_filter.checked);
    }
    if (m_doc.Data().m_bSpectrum)
        return;
    SetZero();
    const int trace = SearchTrace();
    m_view.markers.Current() = ReflectionLag(trace) + Zero();
    ShowValuesAt(m_view.markers.Current());
    ShowTimeAndLength(m_view.markers.Current() - Zero());
    UpdateLengths();
    m_scene.Redraw();
}

void PictPanelModel::RefreshDisplay() {
    if (!m_doc.Data().m_bLoaded)
        return;
    if (m_doc.Data().m_bSpectrum) {
        m_doc.ComputeSpectra(static_cast<dsp::FftWindow>(m_doc.Data().m_nFftWindow),
                       static_cast<dsp::SpectrumScale>(m_doc.Data().m_nSpectrumScale), true);
        ShowSpectra();
    } else {
        ShowGraphs();
    }
    m_scene.Redraw();
}

// ---- Spectrum and fill ------------------------------------------------------------------------

void PictPanelModel::ShowSpectra() {
    m_scene.SetUpSpectra();
}

void PictPanelModel::EnterSpectrum() {
    if (m_doc.Data().m_bSpectrum || !m_doc.Data().m_bLoaded)
        return;
    m_varu = {false, false};
    m_processing = {false, false};
    m_doc.SetUseVaru(false);
    m_doc.SetProcessing(false);
    m_doc.SetSpectrumMode(true);
    // The markers become frequency marks; the signal's are put back on the way out.
    m_signalMarkers = m_view.markers;
    m_view.markers.position.fill(0);
    ShowSpectrumReadouts(0);
    for (GraphRow& row : m_rows)
        row.value = QStringLiteral("0");
    m_doc.ComputeSpectra(static_cast<dsp::FftWindow>(m_doc.Data().m_nFftWindow),
                   static_cast<dsp::SpectrumScale>(m_doc.Data().m_nSpectrumScale), true);
    ShowSpectra();
    m_scene.Redraw();
}

void PictPanelModel::LeaveSpectrum() {
    if (!m_doc.Data().m_bSpectrum)
        return;
    m_doc.SetSpectrumMode(false);
    m_view.markers = m_signalMarkers;
    ShowTimeAndLength(m_view.markers.Current() - Zero());
    UpdateLengths();
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        m_rows[i].ky = QString::asprintf("%2.2f", m_doc.Data().m_dGain[i]);
        m_rows[i].value = QStringLiteral("0");
    }
    m_varu = {false, true};
    m_processing = {false, true};
    m_scene.Redraw();
}

void PictPanelModel::SetFftWindow(int window) {
    if (!m_doc.Data().m_bSpectrum) {
        m_prompts.message(SwitchToSpectrumText(), QString(), PromptIcon::None);
        return;
    }
    m_doc.SetFftWindow(window);
    m_doc.ComputeSpectra(static_cast<dsp::FftWindow>(window),
                   static_cast<dsp::SpectrumScale>(m_doc.Data().m_nSpectrumScale), false);
    ShowSpectra();
    m_scene.Redraw();
}

void PictPanelModel::SetSpectrumScale(int scale) {
    if (!m_doc.Data().m_bSpectrum) {
        m_prompts.message(SwitchToSpectrumText(), QString(), PromptIcon::None);
        return;
    }
    m_doc.SetSpectrumScale(scale);
    m_doc.ComputeSpectra(static_cast<dsp::FftWindow>(m_doc.Data().m_nFftWindow),
                   static_cast<dsp::SpectrumScale>(scale), false);
    ShowSpectra();
    m_scene.Redraw();
}

void PictPanelModel::EditFilter() {
    if (EditFilterSettings(m_doc, m_filterSettings, m_prompts) && m_doc.Data().m_bUseFilter)
        RefreshDisplay();
}

void PictPanelModel::EditGain(void* panelWindow) {
    if (zarno::EditGain(m_doc, panelWindow).redraw)
        RefreshDisplay();
}

void PictPanelModel::SetFillMode(int mode) {
    m_doc.SetFillMode(mode);
    m_scene.Redraw();
}

} // namespace zarno
