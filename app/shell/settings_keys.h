#pragma once
// The names under which the program keeps its settings, each written once here so that reading and
// writing can never disagree: two groups, and the keys in each. The misspelt "Ethernrt" is the
// name that settings saved by earlier versions carry.

#include <QString>

namespace zarno::settings_keys {

inline constexpr char kWindowGroup[] = "Window size";
inline constexpr char kRect[] = "Rect";
inline constexpr char kIcon[] = "icon";
inline constexpr char kMax[] = "max";
inline constexpr char kSplitterXPos[] = "Splitter X Pos";
// Per panel, left then right.
inline constexpr const char* kCurrentDirectory[] = {"Current Left Directory", "Current Right Directory"};
inline constexpr const char* kSortDirectory[] = {"Sort Left Directory", "Sort Right Directory"};
inline constexpr char kZakraskaGrafs[] = "Zakraska Grafs";
inline constexpr char kNScreenMaxGraf[] = "NScreenMaxGraf";
inline constexpr char kBiasXGr[] = "BiasXGr";
inline constexpr char kBiasXFur[] = "BiasXFur";
inline constexpr char kBiasKoeffY[] = "BiasKoeffY";

inline constexpr char kTransportGroup[] = "Transport";
inline constexpr char kCurrentLink[] = "Current Link";
inline constexpr char kComSpeed[] = "Current COM speed";
inline constexpr char kComPort1[] = "Current COM Port1";
inline constexpr char kComPort2[] = "Current COM Port2";
inline constexpr char kEthernetPort1[] = "Current Ethernet Port1";
inline constexpr char kEthernetPort2[] = "Current Ethernrt Port2";
inline constexpr char kIPAddress[] = "Current IPAddress";

// A panel's list column width: "Left column 0" to "Right column 3".
inline QString ColumnKey(int panel, int column) {
    return QStringLiteral("%1 column %2").arg(panel == 0 ? "Left" : "Right").arg(column);
}

// A group and a key as one path, for a QSettings that is not inside the group.
inline QString InGroup(const char* group, const char* key) {
    return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromLatin1(key);
}

} // namespace zarno::settings_keys
