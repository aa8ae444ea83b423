#pragma once
// The measurement panel's rules without its widgets: the graph list with its "Ky" editing, the
// gain / filter / processing switches and their exclusion, the marker properties, the X units and
// the window bounds, the marker readouts and the spectrum mode. The form shows what this holds and
// forwards what the user does; the rules reach the document through its operations. It also keeps
// the lengths list, so the panel and the report read one list whatever was last painted.

#include "app/analysis/toe_finder.h"
#include "app/dsp/filter_settings.h"
#include "app/seams/prompts.h"
#include "app/viewer/lengths_list.h"
#include "app/viewer/pict_doc.h"
#include "app/viewer/view_state.h"
#include "app/viewer/viewer_scene.h"

#include <QString>

#include <optional>
#include <vector>

namespace zarno {

// What the user is told when a spectrum setting is chosen while the signals are shown.
QString SwitchToSpectrumText();

// "Ky" typed into the graph list: the text kept (cut after the first character that follows its
// first ".", or to its first character without a ".") and its value; nothing when refused (a letter
// or sign of the refused sets, or a value of 0).
struct KyEntry {
    QString text;
    double value = 0.0;
};
std::optional<KyEntry> ParseKy(const QString& typed);

// The number a text field holds as the usual decimal conversion reads it: its leading number, 0
// when it does not start with one.
double LeadingNumber(const QString& text);

struct SwitchState {
    bool checked = false;
    bool enabled = true;
};

struct GraphRow {
    bool checked = true;
    QString ky;
    QString value;
};

enum class GraphColumn { Number, Ky, Value };

// The panel's start texts: what the form shows before a recording is loaded, and what the model sets
// on each load.
inline const QString kStartVelocityText = QStringLiteral("3600");
inline const QString kStartVicinityText = QStringLiteral("0.5");
inline const QString kStartLowerText = QStringLiteral("0.0");
// The marker readouts' labels, in the program's language; the value follows them once a marker is
// placed.
QString TimeReadoutLabel();
QString LengthReadoutLabel();
// A marker readout: its label and the value in seven characters with three decimals.
QString MarkerReadoutText(const QString& label, double value);
// The spectrum's readout of the frequency at the marker, in Hz.
QString FrequencyReadoutText(double hz);
// The current marker against the previous one: time and length between them.
inline const QString kDeltaReadoutLabel = QStringLiteral("Δ : ");

class PictPanelModel {
public:
    PictPanelModel(CPictDoc& doc, ViewState& view, ViewerScene& scene, dsp::FilterSettings& filter,
                   Prompts& prompts);

    // After a successful load: the controls' initial values, the window bounds and the graph list.
    void InitialUpdate();

    // Texts and states the form shows.
    const QString& VelocityText() const { return m_velocity; }
    const QString& VicinityText() const { return m_vicinity; }
    const QString& LowerText() const { return m_lower; }
    const QString& UpperText() const { return m_upper; }
    const QString& TimeReadout() const { return m_timeReadout; }
    const QString& LengthReadout() const { return m_lengthReadout; }
    const QString& DeltaReadout() const { return m_deltaReadout; }
    int GraphNumber() const { return m_graphNumber; }
    const std::vector<GraphRow>& Rows() const { return m_rows; }
    bool SpectrumColumns() const { return m_doc.Data().m_bSpectrum; }
    // Told beside the list when the file holds more traces than the viewer shows; else empty.
    QString TracesNote() const;
    SwitchState Varu() const { return m_varu; }
    SwitchState Filter() const { return m_filter; }
    SwitchState Processing() const { return m_processing; }

    // Marker properties.
    void SetVelocityText(const QString& text);
    // A velocity given as a number (the command line): shown as its text, kept exactly.
    void SetVelocity(double velocity);
    void SetVicinityText(const QString& text);
    void SetGraphNumber(int number);
    void SetSearchMode(dsp::ExtremumMode mode);
    void ResetMarkers();
    // All five markers at once (the command line's --marker list).
    void SetMarkers(const MarkerSet& markers);
    // The view moved or removed markers by itself: the lengths follow.
    void MarkersMoved();

    // The lengths list at the five markers, computed whenever a marker, the window start or the
    // velocity changes: the panel shows it and the report prints it, whether or not a paint ran.
    const LengthsList& Lengths() const { return m_lengths; }
    // The length from the zero to the current marker at the panel's velocity; none while the
    // current marker is a removed one (at or before the zero) or nothing is loaded.
    std::optional<double> CurrentMarkerLength() const;

    // X axis and bounds. The bound setters are the user's edits of "От:" and "До:".
    void SetTimeUnits(bool time);
    void SetLowerText(const QString& text);
    void SetUpperText(const QString& text);
    void SetZero();
    void RestoreBounds();
    // The window from the zero to one and a half times the toe's distance from it, so that a short
    // pile fills the screen; the whole trace when no toe is known (or it lies before the zero).
    void FitToPile();
    // The toe's sample in the search trace, or nothing.
    std::optional<int> ToeSample() const;

    // Graph list.
    void SetShown(int row, bool shown);
    // False (the editor stays open) when the text is refused.
    bool EditKy(int row, const QString& typed);
    void HeaderClicked(GraphColumn column);

    // Switches.
    void SetUseVaru(bool checked);
    void SetUseFilter(bool checked);
    void SetProcessing(bool checked);
    // The traces on screen again from the switches (the spectra in spectrum mode).
    void RefreshDisplay();

    // Readouts (and the lengths) after the current marker moved to p.
    void ShowMarkerReadout(int p);
    void ShowValuesAt(int p);
    void ShowSpectrumValuesAt(int bin);

    // Spectrum mode and its settings ("Спектр", "Сигналы", the five "Настройка БПФ" items).
    void EnterSpectrum();
    void LeaveSpectrum();
    void SetFftWindow(int window);
    void SetSpectrumScale(int scale);
    // "Настроить параметры  фильтра" and "Настроить параметры ВАРУ" (panelWindow: the editor's owner).
    void EditFilter();
    void EditGain(void* panelWindow);
    // The fill commands "Линия", "Верхняя закраска", "Нижняя закраска".
    void SetFillMode(int mode);

    // The trace the search and the readouts use, kept within the traces the document holds.
    int SearchTrace() const;
    // The sample times and lengths count from: set by "Установить ноль", not moved by the window.
    int Zero() const;
    // Where a removed marker goes, and whether a marker at p is one (out of use, giving no length).
    int RemovedMarkerPosition() const;
    bool IsFreeMarker(int p) const { return p <= Zero(); }
    // The last sample the data reaches in the bound fields' units (ms or m).
    double DataEndInUnits() const;
    double BoundInUnits(int sample) const;

private:
    QString FormatBound(int sample) const;
    int SampleOfBound(double value) const;
    void ApplyWindow();
    void ShowGraphs();
    void ShowSpectra();
    void ShowTimeAndLength(int column);
    // The readouts of the marker's time and length as the document holds them.
    void ShowMarkerReadouts();
    void UpdateLengths();
    analysis::ToeResult Toe(int trace) const;
    // The marker's distance from the zero while processing: the toe's lag after the blow.
    int ReflectionLag(int trace) const;
    // Hz per spectrum bin.
    double BinHz() const;
    // The frequency at the current marker and, with a previous marker placed, Δf between them and
    // the length V / (2Δf).
    void ShowSpectrumReadouts(int bin);

    CPictDoc& m_doc;
    ViewState& m_view;
    ViewerScene& m_scene;
    dsp::FilterSettings& m_filterSettings;
    Prompts& m_prompts;

    QString m_velocity = kStartVelocityText;
    QString m_vicinity = kStartVicinityText;
    QString m_lower = kStartLowerText;
    QString m_upper;
    QString m_timeReadout = TimeReadoutLabel();
    QString m_lengthReadout = LengthReadoutLabel();
    QString m_deltaReadout = kDeltaReadoutLabel;
    int m_graphNumber = 1;
    double m_markerTimeMs = 0.0; // the current marker's time and length as the readouts show them
    double m_markerLength = 0.0;
    std::vector<GraphRow> m_rows;
    LengthsList m_lengths;
    MarkerSet m_signalMarkers; // the signal's markers, kept while the spectra are shown
    SwitchState m_varu, m_filter, m_processing;
};

} // namespace zarno
