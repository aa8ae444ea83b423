#pragma once
// The serial port's settings records. The host hands the port a 32-byte block, four characters of
// port name followed by a device control block, and reads back a communication configuration
// record; both keep the Windows layouts byte for byte, so a block that the host built or stored
// elsewhere means the same here.

#include "transport/velnet_types.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace velnet {

// The device control block (28 bytes, Windows DCB layout): the type of the library's public header,
// which its hosts build the settings block with.
using DCB = VelnetDcb;

// Bits of DCB::Flags.
enum DcbFlag : uint32_t {
    kDcbBinary = 1u << 0,
    kDcbParity = 1u << 1, // check the parity of received bytes
    kDcbOutxCtsFlow = 1u << 2,
    kDcbOutxDsrFlow = 1u << 3,
    kDcbDsrSensitivity = 1u << 6,
    kDcbTXContinueOnXoff = 1u << 7,
    kDcbOutX = 1u << 8, // XON/XOFF on output
    kDcbInX = 1u << 9,  // XON/XOFF on input
    kDcbErrorChar = 1u << 10,
    kDcbNull = 1u << 11,
    kDcbAbortOnError = 1u << 14,
};
constexpr int kDcbDtrControlShift = 4;  // two bits
constexpr int kDcbRtsControlShift = 12; // two bits

enum DcbParity : uint8_t {
    kNoParity = 0,
    kOddParity = 1,
    kEvenParity = 2,
    kMarkParity = 3,
    kSpaceParity = 4
};
enum DcbStopBits : uint8_t { kOneStopBit = 0, kOne5StopBits = 1, kTwoStopBits = 2 };
enum DcbLineControl : uint32_t { kLineDisable = 0, kLineEnable = 1, kLineHandshake = 2, kLineToggle = 3 };

inline uint32_t DtrControl(const DCB& dcb) {
    return (dcb.Flags >> kDcbDtrControlShift) & 3u;
}
inline uint32_t RtsControl(const DCB& dcb) {
    return (dcb.Flags >> kDcbRtsControlShift) & 3u;
}

// The communication configuration record (52 bytes, Windows COMMCONFIG layout) that GetConfig
// exposes: the DCB in force with the provider fields of a plain RS-232 port.
struct COMMCONFIG {
    uint32_t dwSize;
    uint16_t wVersion;
    uint16_t wReserved;
    DCB dcb;
    uint32_t dwProviderSubType;
    uint32_t dwProviderOffset;
    uint32_t dwProviderSize;
    uint16_t wcProviderData[1];
};
static_assert(sizeof(COMMCONFIG) == 52);
static_assert(offsetof(COMMCONFIG, dcb) == 8 && offsetof(COMMCONFIG, dwProviderSubType) == 36);

constexpr uint32_t kProviderRs232 = 1;

// The port's time limits (Windows COMMTIMEOUTS), in milliseconds.
struct COMMTIMEOUTS {
    uint32_t ReadIntervalTimeout;
    uint32_t ReadTotalTimeoutMultiplier;
    uint32_t ReadTotalTimeoutConstant;
    uint32_t WriteTotalTimeoutMultiplier;
    uint32_t WriteTotalTimeoutConstant;
};

// The 32-byte block that the host supplies when it creates a serial port.
constexpr uint32_t kComPortNameChars = 4;
constexpr uint32_t kComSettingsBlockBytes = kComPortNameChars + sizeof(DCB);
static_assert(kComSettingsBlockBytes == sizeof(VelnetComSettingsBlock));

struct ComSettings {
    std::string portName; // the first four characters of the block, up to a NUL
    DCB dcb{};            // DCBlength forced to 28
};

// Takes the name and the DCB from a block; false when the block is shorter than 32 bytes.
bool ParseComSettingsBlock(const void* block, uint32_t size, ComSettings& out);
// Builds a block (for hosts and tests): the first four characters of name, then dcb.
void BuildComSettingsBlock(const std::string& name, const DCB& dcb, uint8_t out[kComSettingsBlockBytes]);
// The configuration record for a DCB.
COMMCONFIG MakeCommConfig(const DCB& dcb);
// A DCB for the usual instrument line: baud rate, 8 data bits, no parity, one stop bit, no flow
// control.
DCB MakeDcb(uint32_t baudRate, uint8_t byteSize = 8, uint8_t parity = kNoParity,
            uint8_t stopBits = kOneStopBit);

// The three flow-control choices of the port's settings dialog and the DCB flags of each.
enum class ComFlowControl { XonXoff = 0, Hardware = 1, None = 2 };
ComFlowControl FlowControlOf(const DCB& dcb);
void SetFlowControl(DCB& dcb, ComFlowControl flow);

// Lets the user change a port's line settings; true when the user accepted (dcb then holds them).
using ComSettingsEditor = bool (*)(void* parentWindow, const std::string& portName, DCB& dcb);
// The library's settings dialog (transport/com_setup_dialog.cpp): false at once without a GUI
// application or off its thread.
bool EditComSettingsInDialog(void* parentWindow, const std::string& portName, DCB& dcb);
// The editor the serial port's SetupDialog uses; the dialog unless replaced (tests script it).
ComSettingsEditor CurrentComSettingsEditor();
void SetComSettingsEditor(ComSettingsEditor editor);

// The answer time-out and the character interval that follow from the line speed.
struct ComTimings {
    uint32_t answerTimeMs;
    uint32_t charIntervalMs;
};
// False when the DCB's speed gives no characters per second (no baud rate or no byte size).
bool ComputeComTimings(const DCB& dcb, ComTimings& out);
// Nearest integer, ties to the even one, independent of the floating-point rounding mode.
double RoundHalfEven(double value);

// The device path behind a port name ("COM1" to "COM9", any case, only the first four characters
// count): the environment variable VELNET_COMn when set, else the value of QSettings("Mervo",
// "Common") group "Ports" key COMn, else /dev/ttyS(n-1). Empty for any other name.
std::string ComDevicePath(const std::string& portName);

} // namespace velnet
