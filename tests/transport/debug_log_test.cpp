// The diagnostics window's log without its widgets: the line and field formats, the list limit, the
// switches, and the hand-over of texts made on other threads to the application's thread.

#include "transport/debug_log.h"
#include "transport/localisation.h"
#include "transport/port_convention.h"
#include "transport/transport_exporter.h"

#include "tests/support/free_port.h"
#include "tests/support/qt_app.h"
#include "tests/support/temp_config.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <thread>

using namespace velnet;

namespace {

zarno::testing::TempConfigHome g_home;

void UseLanguage(const char* localLang) {
    zarno::testing::SetLocalLang(QString(localLang));
    ReloadLanguage();
}

TTransportMessage Record(const char* addr, uint32_t port, uint8_t flags, uint8_t id, std::vector<uint16_t> words) {
    TTransportMessage r{};
    inet_pton(AF_INET, addr, &r.addr);
    r.port = port;
    r.header = MakeHeader(flags, id, static_cast<uint16_t>(words.size()));
    for (size_t i = 0; i < words.size(); ++i) {
        r.data[2 * i] = static_cast<uint8_t>(words[i] & 0xFF);
        r.data[2 * i + 1] = static_cast<uint8_t>(words[i] >> 8);
    }
    return r;
}

// Everything handed over so far has reached the state.
void Settle() {
    QCoreApplication::processEvents();
}

TEST(DebugLog, FrameLines) {
    const QTime noon(12, 3, 4, 5);
    struct Case {
        TTransportMessage record;
        bool serial;
        bool stamped;
        const char* line;
    };
    const Case cases[] = {
        // A 4-byte empty answer from 10.0.0.50, wire port 28698 (port value 6768).
        {Record("10.0.0.50", 6768, mfAnswer, 0x2A, {}), false, true, "12:03:04.005: 3200000a 1a70 02 2a 0000 "},
        {Record("127.0.0.1", 6767, 0, 0x07, {0x44, 0x1234, 0x99}), false, false,
         "0100007f 1a6f 00 07 0003 0044 1234"},
        {Record("0.0.0.0", 65000, mfFullAnswer | mfRepeat, 0xFF, {0x0042}), true, false, "fde8 05 ff 0001 0042"},
        {Record("0.0.0.0", 2, mfAnswer | mfFullAnswer, 0x10, {}), true, true, "12:03:04.005: 0002 06 10 0000 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(FrameLine(c.record, c.serial, c.stamped ? &noon : nullptr), c.line);
    }
    EXPECT_EQ(DataDump(reinterpret_cast<const uint8_t*>("\x01\xab"), 2), "01.ab.");
    std::vector<uint8_t> many(40, 0x5A);
    EXPECT_EQ(DataDump(many.data(), 40).size(), 32u * 3) << "at most 32 bytes";
}

TEST(DebugLog, FiltersChooseTheFramesOfEachList) {
    zarno::testing::EnsureCoreApp();
    TDebugLog log(false, "UDP");
    log.SetClock([] { return QTime(12, 3, 4, 5); });
    const TTransportMessage emptyAnswer = Record("10.0.0.50", 6768, mfAnswer, 0x2A, {});

    log.FrameReceived(emptyAnswer); // nothing is logged while "Диагностика" is off
    log.CheckUdpDebug(false);
    log.CheckFilter(FrameList::In, FrameKind::Msg, true);
    log.CheckUdpDebug(true);
    log.CheckTimeStamps(true);
    log.FrameReceived(emptyAnswer);
    Settle();
    EXPECT_TRUE(log.Lines(FrameList::In).empty()) << "only \"Msg\" is checked";

    log.CheckFilter(FrameList::In, FrameKind::AnsEmpty, true);
    log.FrameReceived(emptyAnswer);
    log.FrameSent(emptyAnswer); // the other list has its own filters, all clear
    Settle();
    EXPECT_EQ(log.Lines(FrameList::In), std::vector<std::string>{"12:03:04.005: 3200000a 1a70 02 2a 0000 "});
    EXPECT_TRUE(log.Lines(FrameList::Out).empty());

    log.ClearList(FrameList::In);
    Settle();
    EXPECT_TRUE(log.Lines(FrameList::In).empty());
}

TEST(DebugLog, TheLineAfterTheLimitRemovesTheFirst) {
    TDebugLog log(true, "COM1");
    log.CheckUdpDebug(true);
    for (uint16_t n = 1; n <= 514; ++n)
        log.FrameSent(Record("0.0.0.0", 1, 0, 0, {n}));
    Settle();
    const auto lines = log.Lines(FrameList::Out);
    ASSERT_EQ(lines.size(), kFrameListLimit + 1);
    EXPECT_EQ(lines.front(), "0001 00 00 0001 0002");
    EXPECT_EQ(lines.back(), "0001 00 00 0001 0202");
}

TEST(DebugLog, DebugBoxesCheckTheirBoxesOnlyWhenNoneIsChecked) {
    TDebugLog log(false, "UDP");
    std::vector<bool> active;
    log.SetDebugActiveSink([&](bool on) { active.push_back(on); });
    const auto filters = [&] {
        std::vector<bool> all;
        for (FrameList list : {FrameList::Out, FrameList::In})
            for (FrameKind kind : {FrameKind::Msg, FrameKind::AnsEmpty, FrameKind::AnsFull})
                all.push_back(log.Filter(list, kind));
        return all;
    };

    log.CheckUdpDebug(true);
    EXPECT_EQ(filters(), std::vector<bool>(6, true));
    log.CheckUdpDebug(false);
    for (FrameList list : {FrameList::Out, FrameList::In})
        for (FrameKind kind : {FrameKind::Msg, FrameKind::AnsEmpty, FrameKind::AnsFull})
            log.CheckFilter(list, kind, false);
    log.CheckFilter(FrameList::In, FrameKind::AnsFull, true);
    log.CheckUdpDebug(true);
    EXPECT_EQ(filters(), (std::vector<bool>{false, false, false, false, false, true}));

    log.CheckMessagesDebug(true);
    for (int f = 0; f < kMessageFieldCount; ++f)
        EXPECT_TRUE(log.Field(MessageField(f)));
    log.CheckUdpDebug(false);
    log.CheckMessagesDebug(false);
    log.CheckTimeStamps(true);
    EXPECT_EQ(active, (std::vector<bool>{true, false, true, true, true, false, false}));
}

TEST(DebugLog, MessageFieldsInBothLanguages) {
    const uint8_t payload[] = {0xDE, 0xAD, 0xBE};
    const TTransportMessage answer = Record("10.0.0.50", 6768, mfAnswer | mfFullAnswer, 0x2A, {0x0102});
    TTransportMessage failed = Record("10.0.0.50", 6768, kDeliveryFailedMask, 0x2A, {});
    for (const char* lang : {"1", "2"}) {
        UseLanguage(lang);
        const bool ru = lang[0] == '1';
        SCOPED_TRACE(lang);
        for (bool serial : {false, true}) {
            TDebugLog log(serial, serial ? "COM2" : "UDP");
            log.MessageQueued(true, htonl(0x0A000032), 6768, 0x44, 2, 3, payload); // boxes still clear
            log.CheckMessagesDebug(true);
            log.MessageQueued(true, htonl(0x0A000032), 6768, 0x44, 2, 3, payload);
            log.AnswerSent(true, htonl(0x0A000032), 6768, 0x2A, 3, payload);
            log.AnswerReceived(answer);
            log.MessageReceived(answer);
            log.Delivered(failed);
            Settle();
            const std::string to = serial ? "" : "10.0.0.50 ";
            EXPECT_EQ(log.FieldText(kFieldOutMessages),
                      (ru ? "Сообщение в " : "Message to ") + to + "1a70: 0044: 02: 0003: de.ad.be.");
            EXPECT_EQ(log.FieldText(kFieldOutAnswers),
                      (ru ? "Квитанция в " : "Answer to ") + to + "1a70: 2a: 0003: de.ad.be.");
            EXPECT_EQ(log.FieldText(kFieldAnswers),
                      (ru ? "Квитанция от " : "Answer from ") + to + "1a70: 06: 2a: 0002: 02.01.");
            EXPECT_EQ(log.FieldText(kFieldMessages),
                      (ru ? "Сообщение от " : "Message from ") + to + "1a70: 06: 2a: 0002: 02.01.");
            EXPECT_EQ(log.FieldText(kFieldDelivery), ru ? "Ошибка доставки" : "Transport error");

            log.CheckField(kFieldAnswers, false); // its own box off: the field keeps what it had
            log.AnswerReceived(failed);
            log.MessageQueued(false, 0, 1, 0, 0, 0, nullptr);
            log.AnswerSent(false, 0, 1, 0, 0, nullptr);
            log.Delivered(answer);
            Settle();
            EXPECT_EQ(log.FieldText(kFieldAnswers),
                      (ru ? "Квитанция от " : "Answer from ") + to + "1a70: 06: 2a: 0002: 02.01.");
            EXPECT_EQ(log.FieldText(kFieldOutMessages), ru ? "Ошибка отправки" : "Send error");
            EXPECT_EQ(log.FieldText(kFieldOutAnswers), ru ? "Ошибка отправки" : "Send error");
            EXPECT_EQ(log.FieldText(kFieldDelivery), ru ? "Доставка успешна" : "Transport success");
            log.ClearFields();
            Settle();
            EXPECT_EQ(log.FieldText(kFieldDelivery), "");
        }
    }
    UseLanguage("2");
}

// Two threads log at full speed, as the engine and receive threads do; the view sees every line, in
// each thread's order, on the application's thread.
TEST(DebugLog, LinesFromOtherThreadsArriveInOrderOnTheApplicationThread) {
    zarno::testing::EnsureCoreApp();
    TDebugLog log(false, "UDP");
    log.CheckUdpDebug(true);
    std::vector<std::string> seen[2];
    bool offThread = false;
    log.SetView([&](const TDebugLog::Changes& changes) {
        offThread = offThread || QThread::currentThread() != QCoreApplication::instance()->thread();
        for (int list = 0; list < 2; ++list)
            seen[list].insert(seen[list].end(), changes.addedLines[list].begin(), changes.addedLines[list].end());
    });
    constexpr uint16_t kLines = 20000;
    std::thread producers[2];
    for (int list = 0; list < 2; ++list)
        producers[list] = std::thread([&log, list] {
            for (uint32_t n = 0; n < kLines; ++n) {
                const TTransportMessage r = Record("127.0.0.1", 1, 0, 0, {uint16_t(n)});
                list == 0 ? log.FrameSent(r) : log.FrameReceived(r);
            }
        });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((seen[0].size() < kLines || seen[1].size() < kLines) && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    for (auto& p : producers)
        p.join();
    Settle();
    EXPECT_FALSE(offThread);
    for (int list = 0; list < 2; ++list) {
        ASSERT_EQ(seen[list].size(), kLines) << list;
        for (uint32_t n = 0; n < kLines; ++n)
            ASSERT_EQ(seen[list][n], FrameLine(Record("127.0.0.1", 1, 0, 0, {uint16_t(n)}), false, nullptr)) << n;
        EXPECT_EQ(log.Lines(FrameList(list)).size(), kFrameListLimit + 1);
    }
    log.SetView(nullptr);
}

// The real threads: two transports on loopback, one logging everything while it sends; the engine
// and receive threads hand their texts to this (the application's) thread.
TEST(DebugLog, EngineAndReceiveThreadsLogThroughTheTransportsOwner) {
    zarno::testing::EnsureCoreApp();
    const uint32_t portA = ValueFromWirePort(zarno::testing::FreeWirePort());
    const uint32_t portB = ValueFromWirePort(zarno::testing::FreeWirePort());
    TTransportExporter a(kVelnetKindUdp, portA, 0, 0, nullptr), b(kVelnetKindUdp, portB, 0, 0, nullptr);
    TUDPDebugWin& win = *a.Window();
    ASSERT_NE(win.Transport(), nullptr);
    win.SetRemoteAddr(htonl(INADDR_LOOPBACK));
    win.SetRemotePort(portB);
    win.Log().CheckMessagesDebug(true);
    win.Log().CheckUdpDebug(true);
    EXPECT_TRUE(win.Transport()->DebugActive.load());

    constexpr int kMessages = 600; // more than a list holds
    const uint8_t payload[] = {1, 2, 3, 4};
    for (int n = 0; n < kMessages; ++n) {
        ASSERT_TRUE(win.SendMessage(100000, 0x55, awEmpty, sizeof payload, payload)) << n;
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(win.Transport()->WaitIdle(100000));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (win.Log().Lines(FrameList::In).size() < kFrameListLimit + 1 && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(100);
    Settle();

    // Sent: the messages, each id one more than the last; received: their empty answers, alike.
    for (FrameList list : {FrameList::Out, FrameList::In}) {
        const auto lines = win.Log().Lines(list);
        ASSERT_EQ(lines.size(), kFrameListLimit + 1);
        unsigned previous = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            unsigned addr, port, flags, id, words;
            ASSERT_EQ(std::sscanf(lines[i].c_str(), "%x %x %x %x %x", &addr, &port, &flags, &id, &words), 5);
            EXPECT_EQ((flags & mfAnswer) != 0, list == FrameList::In) << lines[i];
            if (i > 0) {
                ASSERT_TRUE(id == (previous + 1) % 256 || ((flags & mfRepeat) && id == previous)) << lines[i];
            }
            previous = id;
        }
    }
    EXPECT_EQ(win.Log().FieldText(kFieldDelivery), "Transport success");
    EXPECT_EQ(win.Log().FieldText(kFieldOutMessages), "Message to 127.0.0.1 " +
                                                         Format("%4.4x", portB) + ": 0055: 00: 0004: 01.02.03.04.");
    EXPECT_TRUE(b.Window()->Log().Lines(FrameList::In).empty()) << "the other side logs nothing";
}

} // namespace
