// The serial port object over pseudo-terminal pairs: the test holds the master side, the port opens
// the slave side through VELNET_COM1.

#include "transport/com_socket.h"
#include "transport/localisation.h"
#include "transport/serial_frame.h"

#include "tests/support/temp_config.h"

#include <QTemporaryFile>
#include "tests/transport/serial_frame_fixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace velnet;
using namespace std::chrono_literals;

namespace {

using velnet::testing::Bytes;
using velnet::testing::Frame;
using velnet::testing::operator+;

struct Received {
    uint32_t addr, port;
    Bytes bytes;
};

class Inbox {
public:
    static void OnReceive(void* context, TThread*, uint32_t addr, uint32_t port, const uint8_t* data,
                          uint32_t count) {
        auto* self = static_cast<Inbox*>(context);
        std::lock_guard lock(self->m_mutex);
        self->m_items.push_back({addr, port, Bytes(data, data + count)});
        self->m_cv.notify_all();
    }
    bool WaitFor(size_t count, std::chrono::seconds limit = 20s) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return m_items.size() >= count; });
    }
    std::vector<Received> Take() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_items, {});
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Received> m_items;
};

// One settings folder for the whole program, so that no test sees the user's port settings.
zarno::testing::TempConfigHome g_home;

void UseLanguage(const char* localLang) {
    zarno::testing::SetLocalLang(QString(localLang));
    ReloadLanguage();
}

Bytes SettingsBlock(const DCB& dcb, const char* name = "COM1") {
    Bytes block(kComSettingsBlockBytes);
    BuildComSettingsBlock(name, dcb, block.data());
    return block;
}

// A pseudo-terminal pair; COM1 is its slave side while the line lives.
class PtyLine {
public:
    PtyLine() {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty failed");
        path = name;
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        setenv("VELNET_COM1", path.c_str(), 1);
    }
    ~PtyLine() {
        unsetenv("VELNET_COM1");
        ::close(slave);
        ::close(master);
    }

    void Write(const Bytes& bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += size_t(n);
            else
                WaitFor(POLLOUT, 1000);
        }
    }
    // Exactly count bytes from the line, or what came within the limit.
    Bytes Read(size_t count, int limitMs = 20000) const {
        Bytes out;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (out.size() < count && std::chrono::steady_clock::now() < deadline) {
            uint8_t buf[4096];
            const ssize_t n = ::read(master, buf, std::min(sizeof buf, count - out.size()));
            if (n > 0)
                out.insert(out.end(), buf, buf + n);
            else
                WaitFor(POLLIN, 50);
        }
        return out;
    }
    // Throws away whatever the line holds, until it stays quiet for a while.
    void Drain() const {
        uint8_t buf[4096];
        for (;;) {
            while (::read(master, buf, sizeof buf) > 0) {
            }
            if (!WaitFor(POLLIN, 200))
                return;
        }
    }

    int master = -1, slave = -1;
    std::string path;

private:
    bool WaitFor(short events, int ms) const {
        pollfd fd{master, events, 0};
        return ::poll(&fd, 1, ms) > 0;
    }
};

class ComSocketTest : public ::testing::Test {
protected:
    void SetUp() override { UseLanguage("2"); }
    void TearDown() override { UseLanguage("2"); }

    std::unique_ptr<TMervoComSocket> OpenPort(uint32_t localAddr, uint32_t groupFlag = 0,
                                              uint32_t groupAddr = 0, const DCB& dcb = MakeDcb(115200)) {
        const Bytes block = SettingsBlock(dcb);
        auto port = std::make_unique<TMervoComSocket>(localAddr, block.data(), groupFlag, groupAddr);
        port->SetOnReceive(&Inbox::OnReceive, &inbox);
        return port;
    }

    PtyLine line;
    Inbox inbox;
};

const Bytes kExampleFrame = {0xAA, 0xAB, 0x02, 0x00, 0xE8, 0xFD, 0x04,
                             0x00, 0x00, 0x2A, 0x00, 0x00, 0x10, 0xD8};
const Bytes kExampleMessage = {0x00, 0x2A, 0x00, 0x00};

TEST_F(ComSocketTest, SendsTheExampleFrameByteForByte) {
    auto port = OpenPort(65000);
    EXPECT_EQ(port->LockedSend(0, 2, 4, kExampleMessage.data()), 0);
    EXPECT_EQ(line.Read(kExampleFrame.size()), kExampleFrame);
}

TEST_F(ComSocketTest, DeliversTheExampleFrameWithAddressZeroAndTheSourceLineAddress) {
    auto port = OpenPort(2);
    line.Write(kExampleFrame);
    ASSERT_TRUE(inbox.WaitFor(1));
    const auto got = inbox.Take();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].addr, 0u);
    EXPECT_EQ(got[0].port, 65000u);
    EXPECT_EQ(got[0].bytes, kExampleMessage);
}

TEST_F(ComSocketTest, OnlyGoodFramesForThisSideReachOnReceive) {
    auto port = OpenPort(2);
    const Bytes payload = {1, 2, 3, 4, 5, 6};
    Bytes badSum = Frame(2, 9, payload);
    badSum[9] ^= 0x40;
    struct Case {
        const char* name;
        Bytes bytes;
        bool delivered;
    };
    const Case cases[] = {
        {"garbage before the sync", Bytes{0x00, 0xAB, 0xAA, 0x13, 0xFF} + Frame(2, 9, payload), true},
        {"lone AA", Bytes{0xAA, 0x00} + Bytes(kExampleFrame.begin() + 2, kExampleFrame.end()), false},
        {"532 data bytes", Frame(2, 9, Bytes(kSerialMaxData, 0x5A)), true},
        {"533 data bytes", Frame(2, 9, Bytes(kSerialMaxData + 1, 0x5A)), false},
        {"wrong checksum", badSum, false},
        {"foreign address", Frame(3, 9, payload), false},
        {"group address without a group", Frame(0xFFFF, 9, payload), false},
    };
    // Each case is followed by a good frame with its own source: when that one has arrived, the
    // case's own frame has been dealt with.
    uint16_t marker = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        line.Write(c.bytes + Frame(2, marker, {0x77}));
        ASSERT_TRUE(inbox.WaitFor(c.delivered ? 2 : 1));
        const auto got = inbox.Take();
        ASSERT_EQ(got.size(), c.delivered ? 2u : 1u);
        if (c.delivered) {
            EXPECT_EQ(got[0].bytes, Bytes(c.bytes.end() - 2 - int(got[0].bytes.size()), c.bytes.end() - 2));
        }
        EXPECT_EQ(got.back().port, marker);
        EXPECT_EQ(got.back().bytes, Bytes{0x77});
        ++marker;
    }
}

TEST_F(ComSocketTest, GroupFramesAreAcceptedAndAnsweredFromTheGroupAddress) {
    auto port = OpenPort(1, 1, 0xFFFF);
    const auto sourceOfNextAnswer = [&] {
        EXPECT_EQ(port->LockedSend(0, 5, 4, kExampleMessage.data()), 0);
        const Bytes frame = line.Read(kSerialHeadBytes + 4 + kSerialChecksumBytes);
        return frame.size() > 5 ? uint16_t(frame[4] | frame[5] << 8) : uint16_t(0);
    };
    EXPECT_EQ(sourceOfNextAnswer(), 1);

    line.Write(Frame(0xFFFF, 5, kExampleMessage));
    ASSERT_TRUE(inbox.WaitFor(1));
    EXPECT_EQ(inbox.Take()[0].port, 5u);
    EXPECT_EQ(sourceOfNextAnswer(), 0xFFFF);

    line.Write(Frame(1, 5, kExampleMessage));
    ASSERT_TRUE(inbox.WaitFor(1));
    inbox.Take();
    EXPECT_EQ(sourceOfNextAnswer(), 1) << "a frame to our own address is answered from it";
}

TEST_F(ComSocketTest, AFrameSplitAcrossManySmallWritesArrives) {
    auto port = OpenPort(2);
    const Bytes frame = Bytes{0x31, 0xAA} + Frame(2, 65000, Bytes(40, 0x3C));
    for (size_t i = 0; i < frame.size(); i += 3) {
        line.Write(Bytes(frame.begin() + int(i), frame.begin() + int(std::min(i + 3, frame.size()))));
        std::this_thread::sleep_for(15ms);
    }
    ASSERT_TRUE(inbox.WaitFor(1));
    EXPECT_EQ(inbox.Take()[0].bytes, Bytes(40, 0x3C));
}

TEST_F(ComSocketTest, FramesFlowBothWaysAtOnce) {
    auto port = OpenPort(2);
    constexpr int kFrames = 40;
    Bytes incoming;
    for (int i = 0; i < kFrames; ++i)
        incoming = incoming + Frame(2, uint16_t(1000 + i), Bytes(size_t(10 + i), uint8_t(i)));
    auto writer = std::async(std::launch::async, [&] { line.Write(incoming); });
    Bytes expectedOut;
    for (int i = 0; i < kFrames; ++i) {
        const Bytes message(size_t(4 + i), uint8_t(0xC0 + i));
        ASSERT_EQ(port->LockedSend(0, 7, uint32_t(message.size()), message.data()), 0);
        expectedOut = expectedOut + Frame(7, 2, message);
    }
    EXPECT_EQ(line.Read(expectedOut.size()), expectedOut);
    writer.get();
    ASSERT_TRUE(inbox.WaitFor(kFrames));
    const auto got = inbox.Take();
    ASSERT_EQ(got.size(), size_t(kFrames));
    for (int i = 0; i < kFrames; ++i) {
        EXPECT_EQ(got[size_t(i)].port, uint32_t(1000 + i));
        EXPECT_EQ(got[size_t(i)].bytes, Bytes(size_t(10 + i), uint8_t(i)));
    }
}

TEST_F(ComSocketTest, FailedWritesGiveMinusOneAndTheLineRecovers) {
    auto port = OpenPort(2);
    const Bytes tooLong(kSerialMaxFramable + 1, 0x11);
    EXPECT_EQ(port->LockedSend(0, 3, uint32_t(tooLong.size()), tooLong.data()), -1);
    EXPECT_EQ(line.Read(1, 300).size(), 0u) << "nothing of an unframable message goes out";

    // Fill the line's output until it takes nothing more: the next frame cannot be written.
    fcntl(line.slave, F_SETFL, fcntl(line.slave, F_GETFL) | O_NONBLOCK);
    // The far side moves bytes on in the background: fill until it stays full for a while.
    const Bytes filler(4096, 0x00);
    pollfd writable{line.slave, POLLOUT, 0};
    do {
        while (::write(line.slave, filler.data(), filler.size()) > 0) {
        }
    } while (::poll(&writable, 1, 300) > 0);
    EXPECT_EQ(port->LockedSend(0, 2, 4, kExampleMessage.data()), -1);

    line.Drain();
    EXPECT_EQ(port->LockedSend(0, 2, 4, kExampleMessage.data()), 0);
    auto expected = kExampleFrame;
    expected[4] = 2; // our own line address as the source
    expected[5] = 0;
    // The checksum follows the source.
    const SerialFrameHead head{2, 2, 4};
    const uint16_t sum = SerialChecksum(head, kExampleMessage.data(), 4);
    expected[12] = uint8_t(sum & 0xFF);
    expected[13] = uint8_t(sum >> 8);
    EXPECT_EQ(line.Read(expected.size()), expected);
}

TEST(ComLine, DcbToTerminalFlags) {
    DCB ctsFlow = MakeDcb(115200);
    ctsFlow.Flags |= kDcbOutxCtsFlow;
    DCB rtsHandshake = MakeDcb(115200);
    rtsHandshake.Flags =
        (rtsHandshake.Flags & ~(3u << kDcbRtsControlShift)) | (kLineHandshake << kDcbRtsControlShift);
    DCB xonXoffParity = MakeDcb(115200, 7, kEvenParity);
    xonXoffParity.Flags |= kDcbOutX | kDcbInX | kDcbParity;
    constexpr tcflag_t kBase = CREAD | CLOCAL;
    struct Case {
        const char* name;
        DCB dcb;
        tcflag_t cflag, iflag;
    };
    const Case cases[] = {
        {"8N1", MakeDcb(9600), kBase | CS8, 0},
        {"7E1", MakeDcb(57600, 7, kEvenParity), kBase | CS7 | PARENB, 0},
        {"8O2", MakeDcb(76800, 8, kOddParity, kTwoStopBits), kBase | CS8 | PARENB | PARODD | CSTOPB, 0},
        {"8M1", MakeDcb(128000, 8, kMarkParity), kBase | CS8 | PARENB | PARODD | CMSPAR, 0},
        {"6S1", MakeDcb(256000, 6, kSpaceParity), kBase | CS6 | PARENB | CMSPAR, 0},
        {"5N1.5", MakeDcb(115200, 5, kNoParity, kOne5StopBits), kBase | CS5 | CSTOPB, 0},
        {"CTS flow", ctsFlow, kBase | CS8 | CRTSCTS, 0},
        {"RTS handshake", rtsHandshake, kBase | CS8 | CRTSCTS, 0},
        {"XON/XOFF, parity check", xonXoffParity, kBase | CS7 | PARENB, IXON | IXOFF | INPCK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LineFlags flags;
        ASSERT_TRUE(LineFlagsFromDcb(c.dcb, flags));
        EXPECT_EQ(flags.cflag, c.cflag);
        EXPECT_EQ(flags.iflag, c.iflag);
    }
    const DCB refused[] = {MakeDcb(9600, 4),
                           MakeDcb(9600, 9),
                           MakeDcb(9600, 8, 5),
                           MakeDcb(9600, 8, 0, 3),
                           MakeDcb(9600, 8, 0, kOne5StopBits),
                           MakeDcb(9600, 5, 0, kTwoStopBits)};
    for (const DCB& dcb : refused) {
        LineFlags flags;
        EXPECT_FALSE(LineFlagsFromDcb(dcb, flags))
            << int(dcb.ByteSize) << int(dcb.Parity) << int(dcb.StopBits);
    }
}

TEST_F(ComSocketTest, SetupAppliesSpeedLineSettingsAndTimeLimits) {
    DCB xonXoff = MakeDcb(256000, 8, kOddParity, kTwoStopBits);
    xonXoff.Flags |= kDcbOutX | kDcbInX | kDcbOutxCtsFlow;
    // A pseudo-terminal keeps speed, stop bits, the parity kind, flow control and the raw mode (it
    // always reports eight bits without parity).
    const DCB cases[] = {
        MakeDcb(9600), MakeDcb(57600), MakeDcb(115200), MakeDcb(76800), MakeDcb(128000, 8, kMarkParity),
        xonXoff};
    for (const auto& dcb : cases) {
        SCOPED_TRACE(dcb.BaudRate);
        auto port = OpenPort(2, 0, 0, dcb);
        EXPECT_EQ(LineSpeed(line.slave), dcb.BaudRate);
        LineFlags wanted;
        ASSERT_TRUE(LineFlagsFromDcb(dcb, wanted));
        termios t{};
        ASSERT_EQ(tcgetattr(line.slave, &t), 0);
        constexpr tcflag_t kKept = PARODD | CMSPAR | CSTOPB | CRTSCTS | CREAD | CLOCAL;
        EXPECT_EQ(t.c_cflag & kKept, wanted.cflag & kKept);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK | ICRNL | ISTRIP), wanted.iflag);
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u) << "raw";
        EXPECT_EQ(t.c_oflag & OPOST, 0u) << "raw";
        ComTimings timings{};
        ASSERT_TRUE(ComputeComTimings(dcb, timings));
        EXPECT_EQ(port->AnswerTimeout(), timings.answerTimeMs);
        const COMMTIMEOUTS limits = port->Timeouts();
        EXPECT_EQ(limits.ReadIntervalTimeout, timings.charIntervalMs);
        EXPECT_EQ(limits.ReadTotalTimeoutMultiplier, 200u);
        EXPECT_EQ(limits.ReadTotalTimeoutConstant, 200u);
        EXPECT_EQ(limits.WriteTotalTimeoutMultiplier, 200u);
        EXPECT_EQ(limits.WriteTotalTimeoutConstant, 200u);
    }
    EXPECT_EQ(OpenPort(2)->AnswerTimeout(), 1076u);
}

TEST(ComLine, PartLimits) {
    EXPECT_EQ(ComPartLimitMs(200, 200, 1), 400);
    EXPECT_EQ(ComPartLimitMs(200, 200, 2), 600);
    EXPECT_EQ(ComPartLimitMs(200, 200, 8), 1000) << "never above a second";
    EXPECT_EQ(ComPartLimitMs(200, 200, 0xFFFFFFFFu), 1000);
    EXPECT_EQ(ComPartLimitMs(0, 0, 8), 1000) << "no totals: the part limit alone";
}

TEST_F(ComSocketTest, ConfigIsTheRecordOfTheBlockAndTheDialogChangesNothing) {
    DCB dcb = MakeDcb(57600);
    dcb.DCBlength = 99;
    auto port = OpenPort(2, 0, 0, dcb);
    EXPECT_TRUE(port->CanSetup);
    EXPECT_FALSE(port->IsIP);
    EXPECT_EQ(port->PortName, "COM1");
    const void* config = nullptr;
    uint32_t size = 0;
    port->GetConfig(&config, &size);
    ASSERT_EQ(size, 52u);
    const COMMCONFIG before = *static_cast<const COMMCONFIG*>(config);
    EXPECT_EQ(before.dwSize, 52u);
    EXPECT_EQ(before.dcb.DCBlength, 28u);
    EXPECT_EQ(before.dcb.BaudRate, 57600u);
    EXPECT_FALSE(port->SetupDialog(nullptr));
    EXPECT_EQ(std::memcmp(config, &before, sizeof before), 0);
}

// What the scripted settings editor does: whether the user accepts, and the change made.
bool g_editorAccepts = false;
void (*g_editorChange)(DCB&) = nullptr;
std::string g_editorPort;
bool ScriptedEditor(void*, const std::string& portName, DCB& dcb) {
    g_editorPort = portName;
    if (g_editorChange)
        g_editorChange(dcb);
    return g_editorAccepts;
}

TEST_F(ComSocketTest, SettingsDialogAppliesAcceptedSettingsAndKeepsThemOnRefusal) {
    auto port = OpenPort(2, 0, 0, MakeDcb(115200));
    SetComSettingsEditor(&ScriptedEditor);
    const COMMCONFIG original = port->Config;

    // Cancelled: nothing changes, whatever the user had typed.
    g_editorAccepts = false;
    g_editorChange = [](DCB& dcb) { dcb.BaudRate = 9600; };
    EXPECT_FALSE(port->SetupDialog(nullptr));
    EXPECT_EQ(g_editorPort, "COM1");
    EXPECT_EQ(std::memcmp(&port->Config, &original, sizeof original), 0);
    EXPECT_EQ(port->AnswerTimeout(), 1076u);

    // Accepted: on the open line, in the configuration record and in the time limits.
    g_editorAccepts = true;
    g_editorChange = [](DCB& dcb) {
        dcb.BaudRate = 57600;
        SetFlowControl(dcb, ComFlowControl::XonXoff);
    };
    EXPECT_TRUE(port->SetupDialog(nullptr));
    EXPECT_EQ(port->Config.dcb.BaudRate, 57600u);
    EXPECT_EQ(FlowControlOf(port->Config.dcb), ComFlowControl::XonXoff);
    EXPECT_EQ(LineSpeed(port->Handle), 57600u);
    EXPECT_EQ(port->AnswerTimeout(), 1152u);
    EXPECT_EQ(port->Timeouts().ReadIntervalTimeout, 28u);

    // Refused by the port: its text, and the settings in force stay those of before.
    g_editorChange = [](DCB& dcb) { dcb.ByteSize = 9; };
    try {
        port->SetupDialog(nullptr);
        ADD_FAILURE() << "a nine-bit line was accepted";
    } catch (const EUDPSocketError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Port setup error: COM1: ", 0), 0u) << e.what();
    }
    EXPECT_EQ(port->Config.dcb.ByteSize, 8u);
    EXPECT_EQ(port->Config.dcb.BaudRate, 57600u);
    EXPECT_EQ(port->AnswerTimeout(), 1152u);

    // The line still carries frames after all this.
    port->LockedSend(0, 65000, 4, kExampleMessage.data());
    EXPECT_EQ(line.Read(14).size(), 14u);
    SetComSettingsEditor(nullptr);
}

TEST(ComSettings, FlowControlChoicesRoundTrip) {
    for (ComFlowControl flow : {ComFlowControl::XonXoff, ComFlowControl::Hardware, ComFlowControl::None}) {
        SCOPED_TRACE(int(flow));
        DCB dcb = MakeDcb(9600);
        SetFlowControl(dcb, ComFlowControl::Hardware); // whatever was there before is replaced
        SetFlowControl(dcb, flow);
        EXPECT_EQ(FlowControlOf(dcb), flow);
        LineFlags flags;
        ASSERT_TRUE(LineFlagsFromDcb(dcb, flags));
        EXPECT_EQ((flags.cflag & CRTSCTS) != 0, flow == ComFlowControl::Hardware);
        EXPECT_EQ((flags.iflag & IXON) != 0, flow == ComFlowControl::XonXoff);
    }
    EXPECT_EQ(FlowControlOf(MakeDcb(9600)), ComFlowControl::None);
}

TEST_F(ComSocketTest, OpeningFailuresCarryTheirTexts) {
    DCB nineBits = MakeDcb(9600);
    nineBits.ByteSize = 9;
    DCB noSpeed = MakeDcb(0);
    auto busy = OpenPort(2); // holds COM1 for the "in use" case
    // A plain file of this test's own opens and locks as a device would, but is no terminal.
    QTemporaryFile plainFile;
    ASSERT_TRUE(plainFile.open());
    const std::string plainPath = plainFile.fileName().toStdString();
    const std::string missing = std::string(": ") + std::strerror(ENOENT);
    struct Case {
        const char* name;
        const char* device; // nullptr: the pseudo-terminal
        const char* portName;
        DCB dcb;
        std::string russian, english;
    };
    const Case cases[] = {
        {"missing device", "/nonexistent/tty", "COM1", MakeDcb(9600),
         "Ошибка при создании порта COM1" + missing, "Port create error: COM1" + missing},
        {"unknown name", "/nonexistent/tty", "LPT1", MakeDcb(9600),
         "Ошибка при создании порта LPT1" + missing, "Port create error: LPT1" + missing},
        {"in use", nullptr, "COM1", MakeDcb(9600),
         std::string("Ошибка при создании порта COM1: ") + std::strerror(EBUSY),
         std::string("Port create error: COM1: ") + std::strerror(EBUSY)},
        {"not a terminal", plainPath.c_str(), "COM1", MakeDcb(9600),
         std::string("Ошибка при настройке порта COM1: ") + std::strerror(ENOTTY),
         std::string("Port setup error: COM1: ") + std::strerror(ENOTTY)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setenv("VELNET_COM1", c.device ? c.device : line.path.c_str(), 1);
        for (auto [lang, text] : {std::pair{"1", &c.russian}, std::pair{"2", &c.english}}) {
            UseLanguage(lang);
            const Bytes block = SettingsBlock(c.dcb, c.portName);
            try {
                TMervoComSocket port(2, block.data(), 0, 0);
                ADD_FAILURE() << "the port opened";
            } catch (const EUDPSocketError& e) {
                EXPECT_EQ(e.what(), *text);
            }
        }
    }
    busy.reset();
    setenv("VELNET_COM1", line.path.c_str(), 1);
    for (const DCB& dcb : {nineBits, noSpeed}) {
        const Bytes block = SettingsBlock(dcb);
        try {
            TMervoComSocket port(2, block.data(), 0, 0);
            ADD_FAILURE() << "a refused setting was taken";
        } catch (const EUDPSocketError& e) {
            EXPECT_EQ(e.what(), std::string("Port setup error: COM1: ") + std::strerror(EINVAL));
        }
    }
    // A short settings block names no port at all.
    try {
        const Bytes block = SettingsBlock(MakeDcb(9600));
        TMervoComSocket port(2, block.data(), 0, 0, 16);
        ADD_FAILURE() << "a port without a name opened";
    } catch (const EUDPSocketError& e) {
        EXPECT_EQ(e.what(), std::string("Port create error: : ") + std::strerror(ENOENT));
    }
    EXPECT_NO_THROW(OpenPort(2)) << "a refused opener leaves the line free";
}

TEST_F(ComSocketTest, TheFixedTextsInBothLanguages) {
    auto port = OpenPort(2);
    UseLanguage("1");
    EXPECT_EQ(port->MsgBufErrorText(), "Функция \"CreateMsgBuf\" для COM-порта не вызывает ошибок");
    EXPECT_EQ(port->BindErrorText(), "Функция \"BIND\" для COM-порта не вызывает ошибок");
    UseLanguage("2");
    EXPECT_EQ(port->MsgBufErrorText(), "\"CreateMsgBuf\" function can't cause error with COM");
    EXPECT_EQ(port->BindErrorText(), "\"BIND\" function can't cause error with COM");
}

TEST_F(ComSocketTest, DestroyingAPortNeverHangs) {
    // Half of the rounds leave the reader in the middle of a frame, waiting for its data.
    for (int round = 0; round < 10; ++round) {
        auto done = std::async(std::launch::async, [&] {
            auto port = OpenPort(2);
            if (round % 2)
                line.Write({0xAA, 0xAB, 0x02, 0x00, 0x05});
            std::this_thread::sleep_for(10ms);
        });
        ASSERT_EQ(done.wait_for(20s), std::future_status::ready) << "round " << round;
        line.Drain();
    }
    EXPECT_TRUE(inbox.Take().empty());
}

} // namespace
