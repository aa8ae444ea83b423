#include "transport/com_settings.h"

#include <QSettings>
#include <QString>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace velnet {

namespace {

// Line speed in characters per second, as the time-outs are reckoned.
constexpr double kAnswerTimeNumerator = 1096000.0;
constexpr uint32_t kAnswerTimeBaseMs = 1000;
constexpr double kCharIntervalNumerator = 200000.0;

} // namespace

bool ParseComSettingsBlock(const void* block, uint32_t size, ComSettings& out) {
    if (!block || size < kComSettingsBlockBytes)
        return false;
    const auto* bytes = static_cast<const char*>(block);
    out.portName.assign(bytes, strnlen(bytes, kComPortNameChars));
    std::memcpy(&out.dcb, bytes + kComPortNameChars, sizeof(DCB));
    out.dcb.DCBlength = sizeof(DCB);
    return true;
}

void BuildComSettingsBlock(const std::string& name, const DCB& dcb, uint8_t out[kComSettingsBlockBytes]) {
    std::memset(out, 0, kComSettingsBlockBytes);
    std::memcpy(out, name.data(), std::min<size_t>(name.size(), kComPortNameChars));
    std::memcpy(out + kComPortNameChars, &dcb, sizeof(DCB));
}

ComFlowControl FlowControlOf(const DCB& dcb) {
    if (dcb.Flags & (kDcbOutX | kDcbInX))
        return ComFlowControl::XonXoff;
    if ((dcb.Flags & kDcbOutxCtsFlow) || RtsControl(dcb) == kLineHandshake)
        return ComFlowControl::Hardware;
    return ComFlowControl::None;
}

// The flags each choice sets are those the usual settings dialogs of serial ports set, so a block
// edited elsewhere reads back as the same choice.
void SetFlowControl(DCB& dcb, ComFlowControl flow) {
    constexpr uint32_t kFlowBits = kDcbOutxCtsFlow | kDcbOutxDsrFlow | kDcbOutX | kDcbInX |
                                   (3u << kDcbDtrControlShift) | (3u << kDcbRtsControlShift);
    dcb.Flags &= ~kFlowBits;
    switch (flow) {
    case ComFlowControl::XonXoff:
        dcb.Flags |= kDcbOutX | kDcbInX | (kLineEnable << kDcbDtrControlShift) | (kLineEnable << kDcbRtsControlShift);
        break;
    case ComFlowControl::Hardware:
        dcb.Flags |= kDcbOutxCtsFlow | kDcbOutxDsrFlow | (kLineHandshake << kDcbDtrControlShift) |
                     (kLineHandshake << kDcbRtsControlShift);
        break;
    case ComFlowControl::None:
        dcb.Flags |= (kLineEnable << kDcbDtrControlShift) | (kLineEnable << kDcbRtsControlShift);
        break;
    }
}

namespace {
std::atomic<ComSettingsEditor> g_comEditor{&EditComSettingsInDialog};
} // namespace

ComSettingsEditor CurrentComSettingsEditor() {
    return g_comEditor.load();
}

void SetComSettingsEditor(ComSettingsEditor editor) {
    g_comEditor.store(editor ? editor : &EditComSettingsInDialog);
}

COMMCONFIG MakeCommConfig(const DCB& dcb) {
    COMMCONFIG config{};
    config.dwSize = sizeof(COMMCONFIG);
    config.wVersion = 1;
    config.dcb = dcb;
    config.dwProviderSubType = kProviderRs232;
    return config;
}

DCB MakeDcb(uint32_t baudRate, uint8_t byteSize, uint8_t parity, uint8_t stopBits) {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = baudRate;
    dcb.Flags = kDcbBinary | (kLineEnable << kDcbDtrControlShift) | (kLineEnable << kDcbRtsControlShift);
    dcb.ByteSize = byteSize;
    dcb.Parity = parity;
    dcb.StopBits = stopBits;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
}

bool ComputeComTimings(const DCB& dcb, ComTimings& out) {
    if (dcb.BaudRate == 0 || dcb.ByteSize == 0)
        return false;
    const double charsPerSecond = double(dcb.BaudRate) / double(dcb.ByteSize);
    out.answerTimeMs =
        static_cast<uint32_t>(RoundHalfEven(kAnswerTimeNumerator / charsPerSecond)) + kAnswerTimeBaseMs;
    out.charIntervalMs = static_cast<uint32_t>(RoundHalfEven(kCharIntervalNumerator / charsPerSecond));
    return true;
}

std::string ComDevicePath(const std::string& portName) {
    const std::string name = portName.substr(0, kComPortNameChars);
    if (name.size() != kComPortNameChars || std::toupper(static_cast<unsigned char>(name[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(name[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(name[2])) != 'M' || name[3] < '1' || name[3] > '9')
        return {};
    const std::string key = std::string("COM") + name[3];
    if (const char* env = std::getenv(("VELNET_" + key).c_str()); env && *env)
        return env;
    const QString fallback = QStringLiteral("/dev/ttyS%1").arg(name[3] - '1');
    const QSettings settings("Mervo", "Common");
    return settings.value("Ports/" + QString::fromLatin1(key.c_str()), fallback).toString().toStdString();
}

} // namespace velnet
