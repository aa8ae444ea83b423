// The link's settings as a value: the address and speed texts, the wire's ports, what is saved and
// what is refused, and the serial settings block as the library reads it.

#include "app/link/link_settings.h"
#include "app/link/serial_settings_block.h"
#include "app/shell/persistent_settings.h"
#include "transport/com_settings.h"
#include "transport/port_convention.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>

using namespace zarno;

namespace {

TEST(LinkSettings, IpAddressTexts) {
    const struct {
        const char* text;
        std::optional<uint32_t> address;
    } cases[] = {
        {"10.0.0.50", 0x0A000032},
        {" 127.1.2.3 ", 0x7F010203},
        {"255.255.255.255", 0xFFFFFFFF},
        {"0.0.0.0", 0},
        {"256.0.0.1", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"1..3.4", std::nullopt},
        {"1.2.3.4.", std::nullopt},
        {"01.2.3.4", std::nullopt},
        {"1.2.3.-4", std::nullopt},
        {"1.2.3.+4", std::nullopt},
        {"a.b.c.d", std::nullopt},
        {"1.2.3.4:80", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseIpAddress(QString::fromLatin1(c.text)), c.address);
        if (c.address) {
            EXPECT_EQ(ParseIpAddress(FormatIpAddress(*c.address)), c.address);
        }
    }
    EXPECT_EQ(FormatIpAddress(0x0A000032), QStringLiteral("10.0.0.50"));
}

TEST(LinkSettings, ComSpeedTexts) {
    EXPECT_EQ(ParseComSpeed(u"76800"), 76800u);
    EXPECT_EQ(ParseComSpeed(u" 9600 "), 9600u);
    for (const char16_t* bad : {u"", u"0", u"-9600", u"fast", u"99999999999"})
        EXPECT_EQ(ParseComSpeed(bad), std::nullopt);
}

// Every wire port has exactly one value in the library's convention, and the convention is the
// library's own.
TEST(LinkSettings, WirePortsAndTheLibrarysValues) {
    EXPECT_EQ(LinkWirePort(6767), 28442);
    EXPECT_EQ(LinkWirePort(6768), 28698);
    EXPECT_EQ(LinkPortValue(55389), 24024u);
    for (uint32_t wire = 1; wire <= 0xFFFF; ++wire) {
        const uint32_t value = LinkPortValue(uint16_t(wire));
        ASSERT_EQ(LinkWirePort(value), wire);
        ASSERT_EQ(velnet::WirePortFromValue(value), wire);
    }
}

TEST(LinkSettings, SavedZerosAreTheDefaultsAndTheLocalLineAddressIsAlwaysWritten) {
    PersistentSettings saved;
    saved.m_nCurrentLink = kLinkNetwork;
    saved.m_nCurrentComPort1 = 1234;
    const LinkSettings link = LinkSettings::FromSaved(saved);
    EXPECT_EQ(link, (LinkSettings{kLinkNetwork, 115200, 65000, 2, 6767, 6768, 0x0A000032}));
    const uint32_t net = link.RemoteIPNet();
    std::array<uint8_t, 4> inMemory{};
    std::memcpy(inMemory.data(), &net, sizeof net);
    EXPECT_EQ(inMemory, (std::array<uint8_t, 4>{10, 0, 0, 50})) << "network byte order";

    LinkSettings chosen{kLinkCom2, 57600, 65000, 9, 7000, 7001, 0x7F000001};
    PersistentSettings written;
    chosen.Save(written);
    EXPECT_EQ(written.m_nCurrentComPort1, 65000);
    EXPECT_EQ(LinkSettings::FromSaved(written), chosen);
}

TEST(LinkSettings, SettingsThatCannotConnect) {
    const LinkSettings sound;
    EXPECT_EQ(sound.Problem(), QString());
    const struct {
        const char* what;
        LinkSettings link;
    } cases[] = {
        {"link type", {7, 115200, 65000, 2, 6767, 6768, 1}},
        {"speed", {kLinkCom1, 0, 65000, 2, 6767, 6768, 1}},
        {"line address", {kLinkCom1, 115200, 65000, 0, 6767, 6768, 1}},
        {"local port", {kLinkNetwork, 115200, 65000, 2, 0, 6768, 1}},
        {"remote port", {kLinkNetwork, 115200, 65000, 2, 6767, 0, 1}},
        {"port past 65535", {kLinkNetwork, 115200, 65000, 2, 6767, 70000, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.link.Problem().isEmpty());
    }
}

// The block the program builds is the one the library's serial port takes apart.
TEST(SerialSettingsBlock, IsWhatTheLibraryReads) {
    const auto block = SerialSettingsBlock("COM2", 76800);
    velnet::ComSettings parsed;
    ASSERT_TRUE(velnet::ParseComSettingsBlock(block.data(), uint32_t(block.size()), parsed));
    EXPECT_EQ(parsed.portName, "COM2");
    EXPECT_EQ(parsed.dcb.BaudRate, 76800u);
    EXPECT_EQ(parsed.dcb.ByteSize, 8);
    EXPECT_EQ(parsed.dcb.Parity, velnet::kNoParity);
    EXPECT_EQ(parsed.dcb.StopBits, velnet::kTwoStopBits);
    EXPECT_EQ(parsed.dcb.Flags, 0u) << "no flow control";
    EXPECT_EQ(parsed.dcb.DCBlength, 28u);
    EXPECT_EQ(block.size(), velnet::kComSettingsBlockBytes);
}

} // namespace
