#pragma once
// CPictDoc: the document of one SEG-Y file in the signal viewer. It holds the file's headers and
// samples, the derived arrays (gained, filtered, gained filtered, autocorrelation, spectrum), the
// processing switches, the navigation state and the automatic results; the measurement panel
// changes it through its operations, the view and the report read it.
//
// One document holds at most two traces: every per-trace array has two entries. A file that
// declares more has its first two traces loaded, and the user is told so.

#include "app/dsp/filter_settings.h"
#include "app/dsp/fourier_analysis.h"
#include "app/formats/sgy_headers.h"
#include "app/seams/prompts.h"
#include "app/viewer/display_settings.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace zarno {

inline constexpr int kPictTraces = 2;

using TraceArray = std::vector<double>; // ns samples; empty while not allocated
using TraceArrays = std::array<TraceArray, kPictTraces>;

// What the document holds, as one value: read through CPictDoc::Data(), changed only by the
// document's operations.
struct PictDocData {
    std::array<char, 3200> m_textHeader{};
    SGYBinaryHeader m_binHeader{};
    bool m_bLittleEndian = false; // this file's byte order, found by its binary-header read
    int m_nSampleIntervalUs = 0;
    int m_nSamples = 0;
    int m_nFormatCode = 0;
    ViewerDisplaySettings m_display; // with the defaults in place of the stored zeros
    int m_nGraphsOnScreen = 0;
    int m_nEnabledCount = 0;
    int m_nTraceCount = 0; // traces held: the file's count, at most kPictTraces
    int m_nSelIndex = 0;
    int m_nSelRow = 0;
    int m_nFirstRow = 0;
    int m_nSingleTrace = 0;
    int m_nZeroSample = 0; // the sample times and lengths count from ("Установить ноль")
    double m_dUnitsPerSample = 0.0;
    double m_dFillLevel = 1.0;
    TraceArrays m_pRaw;
    std::array<double, kPictTraces> m_dGain{1.0, 1.0};
    std::array<int, kPictTraces> m_nEnabled{0, 1};
    std::array<int, kPictTraces> m_nVisible{0, 1}; // the trace of each screen row, top first
    int m_bUseVaru = 0;
    int m_bProcessing = 0;
    int m_nVaruFirst = 1;   // gain parameters: first (stored in "VARY.ini"),
    int m_nVaruSecond = 10; // second (10 before every load),
    int m_nVaruPoints = 0;  // and the point count
    TraceArray m_pVaru;
    TraceArrays m_pGained;
    TraceArrays m_pGainedFiltered;
    int m_bUseFilter = 0;
    TraceArrays m_pFiltered;
    TraceArrays m_pAutoCorr;
    std::array<int, kPictTraces> m_nImpactIndex{0, 0};
    std::array<int, kPictTraces> m_nEchoIndex{0, 0};
    std::array<double, kPictTraces> m_dLength{0.0, 0.0};
    bool m_bLoaded = false;
    bool m_bSpectrum = false;
    TraceArrays m_pSpectrum;
    int m_nFftWindow = 2;
    int m_nSpectrumScale = 0;
    double m_dVelocity = 0.0;
    int m_nWindowStart = 0;
    int m_nWindowEnd = 0;
    QString m_strPath;         // the file; for content built in memory, what it is called
    bool m_bInMemory = false;  // built in memory (no file): nothing is read or kept beside m_strPath
    int m_nFileTraceCount = 0; // traces the file declares
};

class CPictDoc {
public:
    // Takes the display settings from the main window (0 in the stored values means the default)
    // and writes them back on destruction.
    explicit CPictDoc(ViewerDisplaySettings& mainWindow);
    ~CPictDoc();
    CPictDoc(const CPictDoc&) = delete;
    CPictDoc& operator=(const CPictDoc&) = delete;

    const PictDocData& Data() const { return m_d; }

    // The array trace i is drawn from: the autocorrelation while processing; else, with the gain
    // in use, the gained (filtered) trace; else the filtered trace while the filter is on, the raw
    // one otherwise.
    const TraceArray& DisplayedArray(int i) const;

    // Δt in seconds.
    double SampleIntervalSeconds() const { return m_d.m_nSampleIntervalUs / 1e6; }

    // ---- Content ----
    // A recording's content, read from its file by the load or built in memory: the document keeps
    // its display settings (graphs per screen, biases, fill, shown traces) and takes the rest; the
    // graphs on screen and the screen rows follow from the traces it holds.
    void TakeRecording(PictDocData content);
    // Trace i's gained, filtered, gained filtered and autocorrelation arrays and its automatic
    // reflection estimate (arrival, reflection index, length at the document's velocity).
    void DeriveTrace(int i, const dsp::FilterSettings& filter, Prompts& prompts);
    // Every trace of the file filtered again (after the filter settings changed).
    void RefilterAllTraces(const dsp::FilterSettings& filter, Prompts& prompts);
    // The gain curve, as the editor left it, squeezed onto the working window and applied there to
    // every trace's raw and filtered samples. False when the window holds more points than the curve
    // (nothing to apply).
    bool ApplyEditedGain();
    // A new gain curve of ns points with its two parameters (the gain editor's result).
    void SetGainCurve(int first, int second, TraceArray curve);
    // The spectra of every trace of the file, from the filtered traces while the filter is on, else
    // from the raw ones. allocate gives every trace a new array first; an array that does not hold
    // ns values is allocated either way.
    void ComputeSpectra(dsp::FftWindow window, dsp::SpectrumScale scale, bool allocate);

    // ---- Display ----
    // "Настройка параметров экрана" accepted: the four values, then the graphs per screen again.
    // A maximum of 0 is kept as the setting (the next viewer starts with 24) and lays out 24 now.
    void ApplyDisplaySettings(int maxGraphs, int biasXGr, int biasXFur, int biasKoeffY);
    // Fill mode 0 line, 1 upper fill, 2 lower fill; the fill level follows.
    void SetFillMode(int mode);
    // The X axis in time (ms per sample) or in length (m per sample at the document's velocity).
    void SetUnits(bool time);
    void SetVelocity(double velocity);
    // The working window, first … last sample.
    void SetWindow(int first, int last);
    // The zero of time and length at this sample. It stays where it is while the window zooms,
    // pans or is restored: a length belongs to the recording, not to the view.
    void SetZero(int sample);
    void SetGain(int trace, double gain);
    // Trace shown in the graph list or not; the enabled list follows.
    void SetShown(int trace, bool shown);
    void SetGraphsOnScreen(int count);
    // The selected entry of the enabled list, its screen row and the list's first row on screen.
    void SetSelection(int index, int row, int firstRow);
    void SetSingleTrace(int trace);

    // ---- Switches ----
    void SetUseVaru(bool on);
    void SetUseFilter(bool on);
    void SetProcessing(bool on);
    void SetSpectrumMode(bool on);
    void SetFftWindow(int window);
    void SetSpectrumScale(int scale);

private:
    void RebuildEnabled();
    // Row s shows the enabled trace first row + s; rows past the enabled list keep their trace.
    void RebuildVisibleRows();

    PictDocData m_d;
    ViewerDisplaySettings& m_mainWindow;
};

} // namespace zarno
