#include "app/shell/persistent_settings.h"

#include "app/io/whole_file.h"
#include "app/shell/settings_keys.h"

namespace zarno {

namespace {

using namespace settings_keys;

int32_t ReadInt(const QSettings& s, const QString& key) {
    return s.value(key, 0).toInt();
}
int32_t ReadInt(const QSettings& s, const char* key) {
    return ReadInt(s, QString::fromLatin1(key));
}

// Reads an integer that starts at `pos`, leading spaces skipped, as the C library's scan would.
bool ReadNumberAt(const QString& text, int pos, int* value) {
    if (pos >= text.size())
        return false;
    int i = pos;
    while (i < text.size() && text[i] == ' ')
        ++i;
    int end = i;
    if (end < text.size() && (text[end] == '-' || text[end] == '+'))
        ++end;
    while (end < text.size() && text[end].isDigit())
        ++end;
    bool ok = false;
    *value = text.mid(i, end - i).toInt(&ok);
    return ok;
}

} // namespace

QString FormatRectText(const PersistentSettings::Edges& e) {
    return QString::asprintf("%04d %04d %04d %04d", e.left, e.top, e.right, e.bottom);
}

bool ParseRectText(const QString& text, PersistentSettings::Edges* edges) {
    int v[4];
    for (int i = 0; i < 4; ++i)
        if (!ReadNumberAt(text, i * 5, &v[i]))
            return false;
    *edges = {v[0], v[1], v[2], v[3]};
    return true;
}

QString PathForSaving(const QString& panelPath) {
    return panelPath.left(3) == kDeviceDrive ? kFirstDrive : panelPath;
}

PersistentSettings::Edges PersistentSettings::rectEdges() const {
    return {normalRect.left(), normalRect.top(), normalRect.right() + 1, normalRect.bottom() + 1};
}

void PersistentSettings::setRectEdges(const Edges& e) {
    normalRect = QRect(QPoint(e.left, e.top), QPoint(e.right - 1, e.bottom - 1));
}

void PersistentSettings::load(QSettings& s) {
    s.beginGroup(kWindowGroup);
    Edges edges{10, 10, 770, 400};
    const QString rect = s.value(kRect).toString();
    if (!rect.isEmpty() && !ParseRectText(rect, &edges))
        edges = {10, 10, 770, 400};
    setRectEdges(edges);
    icon = ReadInt(s, kIcon);
    max = ReadInt(s, kMax);
    m_nWindowWidth = edges.right - edges.left;
    m_nWindowHeight = edges.bottom - edges.top;
    m_nSplitterXPos = ReadInt(s, kSplitterXPos);
    s.endGroup();

    s.beginGroup(kTransportGroup);
    m_nCurrentLink = ReadInt(s, kCurrentLink);
    m_nCurrentComSpeed = ReadInt(s, kComSpeed);
    m_nCurrentComPort1 = ReadInt(s, kComPort1);
    m_nCurrentComPort2 = ReadInt(s, kComPort2);
    m_nCurrentEthernetPort1 = ReadInt(s, kEthernetPort1);
    m_nCurrentEthernetPort2 = ReadInt(s, kEthernetPort2);
    m_nCurrentIPAddress = s.value(kIPAddress, 0).toUInt();
    s.endGroup();

    s.beginGroup(kWindowGroup);
    for (int panel = 0; panel < kPanels; ++panel) {
        m_strCurrentDirectory[size_t(panel)] = s.value(kCurrentDirectory[panel]).toString();
        for (int column = 0; column < kColumns; ++column)
            m_nColumn[size_t(column)][size_t(panel)] = ReadInt(s, ColumnKey(panel, column));
        m_nSortDirectory[size_t(panel)] = ReadInt(s, kSortDirectory[panel]);
    }
    m_nZakraskaGrafs = ReadInt(s, kZakraskaGrafs);
    m_nNScreenMaxGraf = ReadInt(s, kNScreenMaxGraf);
    m_nBiasXGr = ReadInt(s, kBiasXGr);
    m_nBiasXFur = ReadInt(s, kBiasXFur);
    m_nBiasKoeffY = ReadInt(s, kBiasKoeffY);
    s.endGroup();
}

bool PersistentSettings::save(QSettings& settings) const {
    const bool written =
        io::WriteSettingsWhole(settings.fileName(), [this](QSettings& staged) { fill(staged); });
    // The store reads the file anew, so that it shows what is on the disk now.
    settings.sync();
    return written;
}

void PersistentSettings::fill(QSettings& s) const {
    s.beginGroup(kWindowGroup);
    s.setValue(kRect, FormatRectText(rectEdges()));
    s.setValue(kIcon, 0);
    s.setValue(kMax, 0);
    s.setValue(kSplitterXPos, m_nSplitterXPos);
    s.endGroup();

    s.beginGroup(kTransportGroup);
    s.setValue(kCurrentLink, m_nCurrentLink);
    s.setValue(kComPort1, m_nCurrentComPort1);
    s.setValue(kComPort2, m_nCurrentComPort2);
    s.setValue(kComSpeed, m_nCurrentComSpeed);
    s.setValue(kEthernetPort1, m_nCurrentEthernetPort1);
    s.setValue(kEthernetPort2, m_nCurrentEthernetPort2);
    s.setValue(kIPAddress, m_nCurrentIPAddress);
    s.endGroup();

    s.beginGroup(kWindowGroup);
    for (int panel = 0; panel < kPanels; ++panel) {
        s.setValue(kCurrentDirectory[panel], PathForSaving(m_strCurrentDirectory[size_t(panel)]));
        for (int column = 0; column < kColumns; ++column)
            s.setValue(ColumnKey(panel, column), m_nColumn[size_t(column)][size_t(panel)]);
        s.setValue(kSortDirectory[panel], m_nSortDirectory[size_t(panel)]);
    }
    s.setValue(kZakraskaGrafs, m_nZakraskaGrafs);
    s.setValue(kNScreenMaxGraf, m_nNScreenMaxGraf);
    s.setValue(kBiasXGr, m_nBiasXGr);
    s.setValue(kBiasXFur, m_nBiasXFur);
    s.setValue(kBiasKoeffY, m_nBiasKoeffY);
    s.endGroup();
}

} // namespace zarno
