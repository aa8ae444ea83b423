#pragma once
// The termios layer under the serial port: line settings from a DCB (any baud rate, through the
// kernel's arbitrary-speed interface), the line's error state and queues. Every call returns false
// with errno set on failure, so that the port can turn it into its text.

#include "transport/com_settings.h"

#include <cstdint>

namespace velnet {

// The terminal flags (termios c_cflag and c_iflag bits, without the speed) for a DCB; false when the
// DCB asks for something no line has (a byte size outside 5 to 8, an unknown parity or stop-bit
// value, one and a half stop bits with more than five data bits, two with five).
struct LineFlags {
    uint32_t cflag = 0;
    uint32_t iflag = 0;
};
bool LineFlagsFromDcb(const DCB& dcb, LineFlags& out);

// Reads the line's settings; fails for anything that is not a terminal.
bool ReadLineSettings(int fd);

// Applies baud rate, data bits, parity, stop bits and flow control of the DCB in raw mode. The speed
// is read back: a device that cannot give it (within the tolerance of a UART) fails with EINVAL.
// Data bits and parity are not read back: a pseudo-terminal always reports eight bits without
// parity and carries every byte unchanged whatever it was asked for.
bool ApplyDcb(int fd, const DCB& dcb);

// The line's speed as the device reports it (0 when it cannot be read).
uint32_t LineSpeed(int fd);

// Error flags of the line's error state (Windows CE_* values).
enum LineErrorFlag : uint32_t {
    kLineRxOver = 0x0001,  // input queue overflow
    kLineOverrun = 0x0002, // character lost in the hardware
    kLineParity = 0x0004,
    kLineFrame = 0x0008,
    kLineBreak = 0x0010,
    kLineTxFull = 0x0100, // output queue full
};

// The receive errors a device has counted so far. Devices without counters (pseudo-terminals)
// report none.
struct LineErrorCounters {
    uint32_t overrun = 0, bufOverrun = 0, parity = 0, frame = 0, brk = 0;
};
bool ReadLineErrorCounters(int fd, LineErrorCounters& out);
// The error flags that the step from before to now shows.
uint32_t LineErrorsBetween(const LineErrorCounters& before, const LineErrorCounters& now);

// Bytes waiting in the input queue.
bool InputQueueBytes(int fd, uint32_t& bytes);

bool PurgeInput(int fd);
bool PurgeOutput(int fd);

} // namespace velnet
