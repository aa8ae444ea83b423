#include "app/shell/persistent_settings.h"

#include "app/io/whole_file.h"

namespace zarno {

namespace {

const char* const kWindowGroup = "Window size";
const char* const kTransportGroup = "Transport";

int32_t ReadInt(const QSettings& s, const char* key) {
    return s.value(key, 0).toInt();
}

QString ColumnKey(int panel, int column) {
    return QStringLiteral("%1 column %2").arg(panel == 0 ? "Left" : "Right").arg(column);
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
    const QString rect = s.value("Rect").toString();
    if (!rect.isEmpty() && !ParseRectText(rect, &edges))
        edges = {10, 10, 770, 400};
    setRectEdges(edges);
    icon = ReadInt(s, "icon");
    max = ReadInt(s, "max");
    m_nWindowWidth = edges.right - edges.left;
    m_nWindowHeight = edges.bottom - edges.top;
    m_nSplitterXPos = ReadInt(s, "Splitter X Pos");
    s.endGroup();

    s.beginGroup(kTransportGroup);
    m_nCurrentLink = ReadInt(s, "Current Link");
    m_nCurrentComSpeed = ReadInt(s, "Current COM speed");
    m_nCurrentComPort1 = ReadInt(s, "Current COM Port1");
    m_nCurrentComPort2 = ReadInt(s, "Current COM Port2");
    m_nCurrentEthernetPort1 = ReadInt(s, "Current Ethernet Port1");
    m_nCurrentEthernetPort2 = ReadInt(s, "Current Ethernrt Port2");
    m_nCurrentIPAddress = s.value("Current IPAddress", 0).toUInt();
    s.endGroup();

    s.beginGroup(kWindowGroup);
    m_strCurrentDirectory[0] = s.value("Current Left Directory").toString();
    m_strCurrentDirectory[1] = s.value("Current Right Directory").toString();
    for (int panel = 0; panel < kPanels; ++panel)
        for (int column = 0; column < kColumns; ++column)
            m_nColumn[size_t(column)][size_t(panel)] =
                ReadInt(s, ColumnKey(panel, column).toLatin1().constData());
    m_nSortDirectory[0] = ReadInt(s, "Sort Left Directory");
    m_nSortDirectory[1] = ReadInt(s, "Sort Right Directory");
    m_nZakraskaGrafs = ReadInt(s, "Zakraska Grafs");
    m_nNScreenMaxGraf = ReadInt(s, "NScreenMaxGraf");
    m_nBiasXGr = ReadInt(s, "BiasXGr");
    m_nBiasXFur = ReadInt(s, "BiasXFur");
    m_nBiasKoeffY = ReadInt(s, "BiasKoeffY");
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
    s.setValue("Rect", FormatRectText(rectEdges()));
    s.setValue("icon", 0);
    s.setValue("max", 0);
    s.setValue("Splitter X Pos", m_nSplitterXPos);
    s.endGroup();

    s.beginGroup(kTransportGroup);
    s.setValue("Current Link", m_nCurrentLink);
    s.setValue("Current COM Port1", m_nCurrentComPort1);
    s.setValue("Current COM Port2", m_nCurrentComPort2);
    s.setValue("Current COM speed", m_nCurrentComSpeed);
    s.setValue("Current Ethernet Port1", m_nCurrentEthernetPort1);
    s.setValue("Current Ethernrt Port2", m_nCurrentEthernetPort2);
    s.setValue("Current IPAddress", m_nCurrentIPAddress);
    s.endGroup();

    s.beginGroup(kWindowGroup);
    s.setValue("Current Left Directory", PathForSaving(m_strCurrentDirectory[0]));
    s.setValue("Current Right Directory", PathForSaving(m_strCurrentDirectory[1]));
    for (int panel = 0; panel < kPanels; ++panel)
        for (int column = 0; column < kColumns; ++column)
            s.setValue(ColumnKey(panel, column), m_nColumn[size_t(column)][size_t(panel)]);
    s.setValue("Sort Left Directory", m_nSortDirectory[0]);
    s.setValue("Sort Right Directory", m_nSortDirectory[1]);
    s.setValue("Zakraska Grafs", m_nZakraskaGrafs);
    s.setValue("NScreenMaxGraf", m_nNScreenMaxGraf);
    s.setValue("BiasXGr", m_nBiasXGr);
    s.setValue("BiasXFur", m_nBiasXFur);
    s.setValue("BiasKoeffY", m_nBiasKoeffY);
    s.endGroup();
}

} // namespace zarno
