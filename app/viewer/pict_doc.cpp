#include "app/viewer/pict_doc.h"

#include <algorithm>

namespace zarno {

namespace {

int OrDefault(int stored, int fallback) {
    return stored == 0 ? fallback : stored;
}

} // namespace

CPictDoc::CPictDoc(ViewerDisplaySettings& mainWindow) : m_mainWindow(mainWindow) {
    m_nFillMode = mainWindow.m_nZakraskaGrafs;
    m_dFillLevel = FillLevelOfMode(m_nFillMode);
    m_nMaxGraphs = OrDefault(mainWindow.m_nNScreenMaxGraf, kDefaultMaxGraphs);
    m_nBiasXGr = OrDefault(mainWindow.m_nBiasXGr, kDefaultBiasXGr);
    m_nBiasXFur = OrDefault(mainWindow.m_nBiasXFur, kDefaultBiasXFur);
    m_nBiasKoeffY = OrDefault(mainWindow.m_nBiasKoeffY, kDefaultBiasKoeffY);
    m_bShown = mainWindow.m_bShown;
}

CPictDoc::~CPictDoc() {
    m_mainWindow.m_bShown = m_bShown;
    m_mainWindow.m_nZakraskaGrafs = m_nFillMode;
    m_mainWindow.m_nNScreenMaxGraf = m_nMaxGraphs;
    m_mainWindow.m_nBiasXGr = m_nBiasXGr;
    m_mainWindow.m_nBiasXFur = m_nBiasXFur;
    m_mainWindow.m_nBiasKoeffY = m_nBiasKoeffY;
}

const TraceArray& CPictDoc::DisplayedArray(int i) const {
    const auto t = static_cast<std::size_t>(std::clamp(i, 0, kPictTraces - 1));
    if (m_bProcessing)
        return m_pAutoCorr[t];
    if (m_bUseVaru)
        return m_bUseFilter ? m_pGainedFiltered[t] : m_pGained[t];
    return m_bUseFilter ? m_pFiltered[t] : m_pRaw[t];
}

void CPictDoc::ApplyDisplaySettings(int maxGraphs, int biasXGr, int biasXFur, int biasKoeffY) {
    m_nMaxGraphs = maxGraphs;
    m_nBiasXGr = biasXGr;
    m_nBiasXFur = biasXFur;
    m_nBiasKoeffY = biasKoeffY;
    m_nGraphsOnScreen = std::min(m_nTraceCount, OrDefault(m_nMaxGraphs, kDefaultMaxGraphs));
    m_nEnabledCount = m_nTraceCount;
}

} // namespace zarno
