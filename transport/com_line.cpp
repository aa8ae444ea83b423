#include "transport/com_line.h"

// The kernel's own termios2 interface (not glibc's <termios.h>, whose struct clashes with it) is
// the one that takes any baud rate, such as 76800 or 128000.
#include <asm/termbits.h>
#include <cerrno>
#include <cstdlib>
#include <linux/serial.h>
#include <sys/ioctl.h>

namespace velnet {

namespace {

// A device may only approximate a speed; beyond this it is not the speed asked for.
constexpr double kSpeedTolerance = 0.03;

bool Fail(int err) {
    errno = err;
    return false;
}

bool DataBitsFlag(uint8_t byteSize, tcflag_t& flag) {
    switch (byteSize) {
    case 5:
        flag = CS5;
        return true;
    case 6:
        flag = CS6;
        return true;
    case 7:
        flag = CS7;
        return true;
    case 8:
        flag = CS8;
        return true;
    default:
        return false;
    }
}

bool ParityFlags(uint8_t parity, tcflag_t& flags) {
    switch (parity) {
    case kNoParity:
        flags = 0;
        return true;
    case kOddParity:
        flags = PARENB | PARODD;
        return true;
    case kEvenParity:
        flags = PARENB;
        return true;
    case kMarkParity:
        flags = PARENB | PARODD | CMSPAR;
        return true;
    case kSpaceParity:
        flags = PARENB | CMSPAR;
        return true;
    default:
        return false;
    }
}

// One and a half stop bits exist only with five data bits, where the UART gives them for CSTOPB;
// two stop bits do not exist with five data bits.
bool StopBitsFlag(uint8_t stopBits, uint8_t byteSize, tcflag_t& flag) {
    switch (stopBits) {
    case kOneStopBit:
        flag = 0;
        return true;
    case kOne5StopBits:
        flag = CSTOPB;
        return byteSize == 5;
    case kTwoStopBits:
        flag = CSTOPB;
        return byteSize != 5;
    default:
        return false;
    }
}

bool BuildTermios(const DCB& dcb, termios2& t) {
    LineFlags flags;
    if (dcb.BaudRate == 0 || !LineFlagsFromDcb(dcb, flags))
        return false;
    t.c_iflag = flags.iflag;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = flags.cflag | BOTHER;
    t.c_ospeed = dcb.BaudRate;
    t.c_ispeed = dcb.BaudRate;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    // The port reads without blocking and waits with poll(), so the line discipline's own read
    // limits stay off.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return true;
}

bool SpeedClose(uint32_t got, uint32_t wanted) {
    const double diff = double(got) - double(wanted);
    return (diff < 0 ? -diff : diff) <= kSpeedTolerance * double(wanted);
}

// DTR and RTS as the DCB asks for them. Best effort: pseudo-terminals and some adapters have no
// modem lines, and a line without them carries frames just the same.
void SetModemLines(int fd, const DCB& dcb) {
    int dtr = TIOCM_DTR;
    (void)ioctl(fd, DtrControl(dcb) == kLineDisable ? TIOCMBIC : TIOCMBIS, &dtr);
    if (RtsControl(dcb) == kLineEnable || RtsControl(dcb) == kLineDisable) {
        int rts = TIOCM_RTS;
        (void)ioctl(fd, RtsControl(dcb) == kLineDisable ? TIOCMBIC : TIOCMBIS, &rts);
    }
}

} // namespace

bool LineFlagsFromDcb(const DCB& dcb, LineFlags& out) {
    tcflag_t dataBits = 0, parity = 0, stopBits = 0;
    if (!DataBitsFlag(dcb.ByteSize, dataBits) || !ParityFlags(dcb.Parity, parity) ||
        !StopBitsFlag(dcb.StopBits, dcb.ByteSize, stopBits))
        return false;
    const bool hardwareFlow = (dcb.Flags & kDcbOutxCtsFlow) != 0 || RtsControl(dcb) == kLineHandshake;
    out.cflag = CREAD | CLOCAL | dataBits | parity | stopBits | (hardwareFlow ? CRTSCTS : 0);
    out.iflag = 0;
    if (dcb.Flags & kDcbParity)
        out.iflag |= INPCK;
    if (dcb.Flags & kDcbOutX)
        out.iflag |= IXON;
    if (dcb.Flags & kDcbInX)
        out.iflag |= IXOFF;
    return true;
}

bool ReadLineSettings(int fd) {
    termios2 t{};
    return ioctl(fd, TCGETS2, &t) == 0;
}

bool ApplyDcb(int fd, const DCB& dcb) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    if (!BuildTermios(dcb, t))
        return Fail(EINVAL);
    if (ioctl(fd, TCSETS2, &t) != 0)
        return false;
    termios2 got{};
    if (ioctl(fd, TCGETS2, &got) != 0)
        return false;
    if (!SpeedClose(got.c_ospeed, t.c_ospeed))
        return Fail(EINVAL);
    SetModemLines(fd, dcb);
    return true;
}

uint32_t LineSpeed(int fd) {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return 0;
    return t.c_ospeed;
}

bool ReadLineErrorCounters(int fd, LineErrorCounters& out) {
    serial_icounter_struct counts{};
    if (ioctl(fd, TIOCGICOUNT, &counts) != 0)
        return false;
    out.overrun = static_cast<uint32_t>(counts.overrun);
    out.bufOverrun = static_cast<uint32_t>(counts.buf_overrun);
    out.parity = static_cast<uint32_t>(counts.parity);
    out.frame = static_cast<uint32_t>(counts.frame);
    out.brk = static_cast<uint32_t>(counts.brk);
    return true;
}

uint32_t LineErrorsBetween(const LineErrorCounters& before, const LineErrorCounters& now) {
    uint32_t flags = 0;
    if (now.bufOverrun != before.bufOverrun)
        flags |= kLineRxOver;
    if (now.overrun != before.overrun)
        flags |= kLineOverrun;
    if (now.parity != before.parity)
        flags |= kLineParity;
    if (now.frame != before.frame)
        flags |= kLineFrame;
    if (now.brk != before.brk)
        flags |= kLineBreak;
    return flags;
}

bool InputQueueBytes(int fd, uint32_t& bytes) {
    int n = 0;
    if (ioctl(fd, FIONREAD, &n) != 0)
        return false;
    bytes = n > 0 ? static_cast<uint32_t>(n) : 0;
    return true;
}

bool PurgeInput(int fd) {
    return ioctl(fd, TCFLSH, TCIFLUSH) == 0;
}
bool PurgeOutput(int fd) {
    return ioctl(fd, TCFLSH, TCOFLUSH) == 0;
}

} // namespace velnet
