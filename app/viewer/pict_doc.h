#pragma once
// CPictDoc: the document of one SEG-Y file in the signal viewer. It holds the file's headers and
// samples, the derived arrays (gained, filtered, gained filtered, autocorrelation, spectrum), the
// processing switches, the navigation state and the measurement values; the measurement panel
// loads it, the view draws from it, the report reads it.
//
// One document holds at most two traces: every per-trace array has two entries. A file that
// declares more has its first two traces loaded, and the user is told so.

#include "app/formats/sgy_headers.h"
#include "app/viewer/display_settings.h"

#include <QFile>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zarno {

inline constexpr int kPictTraces = 2;

using TraceArray = std::vector<double>; // ns samples; empty while not allocated
using TraceArrays = std::array<TraceArray, kPictTraces>;

class CPictDoc {
public:
    // Takes the display settings from the main window (0 in the stored values means the default)
    // and writes them back on destruction.
    explicit CPictDoc(ViewerDisplaySettings& mainWindow);
    ~CPictDoc();
    CPictDoc(const CPictDoc&) = delete;
    CPictDoc& operator=(const CPictDoc&) = delete;

    // The array trace i is drawn from: the autocorrelation while processing; else, with the gain
    // in use, the gained (filtered) trace; else the filtered trace while the filter is on, the raw
    // one otherwise.
    const TraceArray& DisplayedArray(int i) const;

    // "Настройка параметров экрана" accepted: the four values, then the graphs per screen again.
    // A maximum of 0 is kept as the setting (the next viewer starts with 24) and lays out 24 now.
    void ApplyDisplaySettings(int maxGraphs, int biasXGr, int biasXFur, int biasKoeffY);

    // Δt in seconds.
    double SampleIntervalSeconds() const { return m_nSampleIntervalUs / 1e6; }

    std::unique_ptr<QFile> m_hFile;
    std::array<char, 3200> m_textHeader{};
    SGYBinaryHeader m_binHeader{};
    bool m_bLittleEndian = false; // this file's byte order, found by its binary-header read
    int m_nSampleIntervalUs = 0;
    int m_nSamples = 0;
    int m_nFormatCode = 0;
    int m_nMaxGraphs = 0;
    int m_nGraphsOnScreen = 0;
    int m_nEnabledCount = 0;
    int m_nTraceCount = 0; // traces held: the file's count, at most kPictTraces
    int m_nBiasXGr = 0;
    int m_nBiasXFur = 0;
    int m_nBiasKoeffY = 0;
    int m_nSelIndex = 0;
    int m_nSelRow = 0;
    int m_nFirstRow = 0;
    int m_nSingleTrace = 0;
    double m_dZeroOffsetMs = 0.0;
    double m_dUnitsPerSample = 0.0;
    double m_dFillLevel = 1.0;
    TraceArrays m_pRaw;
    std::array<bool, kPictTraces> m_bShown{true, true};
    std::array<double, kPictTraces> m_dGain{1.0, 1.0};
    std::array<int, kPictTraces> m_nEnabled{0, 1};
    std::array<int, kPictTraces> m_nVisible{0, 1};
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
    int m_nFillMode = 0;
    bool m_bLoaded = false;
    bool m_bSpectrum = false;
    TraceArrays m_pSpectrum;
    int m_nFftWindow = 2;
    int m_nSpectrumScale = 0;
    double m_dMarkerLength = 0.0;
    double m_dVelocity = 0.0;
    double m_dMarkerTimeMs = 0.0;
    int m_nWindowStart = 0;
    int m_nWindowEnd = 0;
    QString m_strPath;
    int m_nFileTraceCount = 0; // traces the file declares

private:
    ViewerDisplaySettings& m_mainWindow;
};

} // namespace zarno
