#include "app/link/link_settings.h"

#include "app/shell/persistent_settings.h"
#include "transport/velnet.h"

#include <QStringList>

namespace zarno {

namespace {

constexpr uint32_t kMaxPortValue = 0xFFFF;

uint32_t OrDefault(int64_t value, uint32_t fallback) {
    return value == 0 ? fallback : static_cast<uint32_t>(value);
}

uint32_t ReverseBytes(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

// One octet of a dotted address: one to three digits, no leading zero, at most 255.
std::optional<uint32_t> ParseOctet(QStringView text) {
    if (text.isEmpty() || text.size() > 3 || (text.size() > 1 && text.front() == u'0'))
        return std::nullopt;
    uint32_t value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + uint32_t(c.unicode() - u'0');
    }
    if (value > 255)
        return std::nullopt;
    return value;
}

} // namespace

LinkSettings LinkSettings::FromSaved(const PersistentSettings& s) {
    LinkSettings link;
    link.linkType = s.m_nCurrentLink;
    link.comSpeed = OrDefault(s.m_nCurrentComSpeed, kDefaultComSpeed);
    link.remoteLineAddr = OrDefault(s.m_nCurrentComPort2, kDefaultRemoteLineAddr);
    link.localPort = OrDefault(s.m_nCurrentEthernetPort1, kDefaultLocalPort);
    link.remotePort = OrDefault(s.m_nCurrentEthernetPort2, kDefaultRemotePort);
    link.remoteIP = OrDefault(s.m_nCurrentIPAddress, kDefaultRemoteIP);
    return link;
}

void LinkSettings::Save(PersistentSettings& s) const {
    s.m_nCurrentLink = linkType;
    s.m_nCurrentComPort1 = static_cast<int32_t>(localLineAddr);
    s.m_nCurrentComPort2 = static_cast<int32_t>(remoteLineAddr);
    s.m_nCurrentComSpeed = static_cast<int32_t>(comSpeed);
    s.m_nCurrentEthernetPort1 = static_cast<int32_t>(localPort);
    s.m_nCurrentEthernetPort2 = static_cast<int32_t>(remotePort);
    s.m_nCurrentIPAddress = remoteIP;
}

uint32_t LinkSettings::RemoteIPNet() const {
    return ReverseBytes(remoteIP);
}

QString LinkSettings::Problem() const {
    if (linkType < kLinkNone || linkType > kLinkNetwork)
        return QStringLiteral("unknown link type %1").arg(linkType);
    if (comSpeed == 0)
        return QStringLiteral("the COM speed must be a positive number of bit/s");
    if (remoteLineAddr == 0 || remoteLineAddr > 0xFFFF)
        return QStringLiteral("the instrument's line address must be 1 to 65535");
    if (localPort == 0 || localPort > kMaxPortValue || remotePort == 0 || remotePort > kMaxPortValue)
        return QStringLiteral("UDP ports must be 1 to 65535");
    return {};
}

std::optional<uint32_t> ParseIpAddress(QStringView text) {
    const QStringView trimmed = text.trimmed();
    uint32_t address = 0;
    int octets = 0;
    for (QStringView part : trimmed.tokenize(u'.')) {
        const auto octet = ParseOctet(part);
        if (!octet || ++octets > 4)
            return std::nullopt;
        address = (address << 8) | *octet;
    }
    if (octets != 4)
        return std::nullopt;
    return address;
}

QString FormatIpAddress(uint32_t a) {
    return QStringLiteral("%1.%2.%3.%4").arg(a >> 24).arg((a >> 16) & 0xFF).arg((a >> 8) & 0xFF).arg(a & 0xFF);
}

std::optional<uint32_t> ParseComSpeed(QStringView text) {
    bool ok = false;
    const uint32_t speed = text.trimmed().toUInt(&ok);
    if (!ok || speed == 0)
        return std::nullopt;
    return speed;
}

uint16_t LinkWirePort(uint32_t portValue) {
    return VelnetWirePort(portValue);
}

uint32_t LinkPortValue(uint16_t wirePort) {
    return VelnetPortValue(wirePort);
}

} // namespace zarno
