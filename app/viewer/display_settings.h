#pragma once
// The signal viewer's display settings: the main window holds them while the program runs (and
// keeps them in the registry between runs); each viewer document starts from them, keeps its own
// copy while it is open and writes it back when it closes, so the next viewer starts where the last
// one left off.

#include <array>

namespace zarno {

struct ViewerDisplaySettings {
    int m_nFillMode = 0;   // 0 line, 1 upper fill, 2 lower fill ("Zakraska Grafs")
    int m_nMaxGraphs = 0;  // graphs per screen; 0 means 24 ("NScreenMaxGraf")
    int m_nBiasXGr = 0;    // 0 means 10
    int m_nBiasXFur = 0;   // 0 means 5
    int m_nBiasKoeffY = 0; // 0 means 30
    std::array<bool, 2> m_bShown{true, true};
};

inline constexpr int kDefaultMaxGraphs = 24;
inline constexpr int kDefaultBiasXGr = 10;
inline constexpr int kDefaultBiasXFur = 5;
inline constexpr int kDefaultBiasKoeffY = 30;

// The fill level the graphs are drawn with for a fill mode: 0 → 1.0 (line only), 1 → 0.5 (upper
// fill), 2 → -0.5 (lower fill), anything else → 1.0.
double FillLevelOfMode(int fillMode);

} // namespace zarno
