#pragma once
// The link's settings as one value: which line, its speed and line addresses, the UDP ports and the
// instrument's address. The settings sheets, the command line and the saved settings all read and
// write it whole; the instrument object connects with the value it holds.

#include "app/link/link_defaults.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace zarno {

struct PersistentSettings;

enum LinkType : int32_t { kLinkNone = 0, kLinkCom1 = 1, kLinkCom2 = 2, kLinkNetwork = 3 };

struct LinkSettings {
    int32_t linkType = kLinkNone;
    uint32_t comSpeed = kDefaultComSpeed; // bit/s
    uint32_t localLineAddr = kDefaultLocalLineAddr;
    uint32_t remoteLineAddr = kDefaultRemoteLineAddr;
    // UDP ports in the library's convention (see LinkWirePort).
    uint32_t localPort = kDefaultLocalPort;
    uint32_t remotePort = kDefaultRemotePort;
    uint32_t remoteIP = kDefaultRemoteIP; // first octet in the high byte

    // The saved values, each zero replaced by its default, and the link type as saved. This side's
    // line address is never read back: it is always the default.
    static LinkSettings FromSaved(const PersistentSettings& saved);
    void Save(PersistentSettings& saved) const;

    // The instrument's address in network byte order, as the library takes it.
    uint32_t RemoteIPNet() const;

    // Why these settings cannot make a connection, in a sentence of the command line; empty when
    // they can.
    QString Problem() const;

    bool operator==(const LinkSettings&) const = default;
};

// "a.b.c.d": four decimal numbers 0 to 255 without leading zeros, spaces around the whole allowed;
// the address with the first octet in the high byte.
std::optional<uint32_t> ParseIpAddress(QStringView text);
QString FormatIpAddress(uint32_t address);

// A COM speed typed as text: a positive number of bit/s.
std::optional<uint32_t> ParseComSpeed(QStringView text);

// The UDP port that goes on the wire for a port value of the library's convention, and back. The
// user sees and types the wire's port; the settings keep the convention's value.
uint16_t LinkWirePort(uint32_t portValue);
uint32_t LinkPortValue(uint16_t wirePort);

} // namespace zarno
