#pragma once
// The program's settings as the main frame keeps them while it runs: read once when the main frame
// is created, written once when it is destroyed, through QSettings("Mervo", "Zarno").

#include "app/shell/drive_names.h"

#include <QRect>
#include <QSettings>
#include <QString>

#include <array>
#include <cstdint>

namespace zarno {

// The names the program's settings are kept under (QSettings' organisation and application).
inline const QString kSettingsOrganisation = QStringLiteral("Mervo");
inline const QString kSettingsApplication = QStringLiteral("Zarno");

struct PersistentSettings {
    static constexpr int kPanels = 2; // left, right
    static constexpr int kColumns = 4;

    QRect normalRect{QPoint(10, 10), QPoint(769, 399)}; // (10,10)-(770,400) as left/top/right/bottom
    int32_t icon = 0;
    int32_t max = 0;
    int32_t m_nWindowWidth = 760;
    int32_t m_nWindowHeight = 390;

    int32_t m_nSplitterXPos = 0;
    int32_t m_nCurrentLink = 0;
    int32_t m_nCurrentEthernetPort2 = 0;
    int32_t m_nCurrentEthernetPort1 = 0;
    int32_t m_nCurrentComPort1 = 0;
    int32_t m_nCurrentComPort2 = 0;
    uint32_t m_nCurrentIPAddress = 0;
    int32_t m_nCurrentComSpeed = 0;
    std::array<QString, kPanels> m_strCurrentDirectory;
    std::array<int32_t, kPanels> m_nSortDirectory{};
    std::array<std::array<int32_t, kPanels>, kColumns> m_nColumn{}; // [column][panel]
    int32_t m_nZakraskaGrafs = 0;
    int32_t m_nNScreenMaxGraf = 0;
    int32_t m_nBiasXGr = 0;
    int32_t m_nBiasXFur = 0;
    int32_t m_nBiasKoeffY = 0;

    // Rectangles as left, top, right, bottom (right and bottom exclusive, as the window system
    // gives them).
    struct Edges {
        int left, top, right, bottom;
    };
    Edges rectEdges() const;
    void setRectEdges(const Edges& edges);

    void load(QSettings& settings);
    // The link values are written as the caller passes them in (the link object's own), and a panel
    // shown on the instrument's drive is written as the computer's first drive. The file is written
    // at once, all or nothing; false when it could not be written (the older file then stays whole).
    bool save(QSettings& settings) const;

private:
    void fill(QSettings& settings) const;
};

// "%04d %04d %04d %04d", and its reading back from character positions 0, 5, 10 and 15.
QString FormatRectText(const PersistentSettings::Edges& edges);
bool ParseRectText(const QString& text, PersistentSettings::Edges* edges);

// The path a panel is saved with: the instrument's drive ("z:\" exactly) becomes the computer's
// first drive.
QString PathForSaving(const QString& panelPath);

} // namespace zarno
