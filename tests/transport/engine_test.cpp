#include "transport/udp_transport.h"

#include "tests/transport/fake_port.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

using namespace velnet;
using velnet::testing::FakePort;
using velnet::testing::Transmission;

namespace {

constexpr uint32_t kPeer = 0x0100007F; // 127.0.0.1 in network byte order
constexpr uint32_t kPeerPort = 6768;

// Collects the engine's notifications.
class Recorder {
public:
    struct Message {
        int32_t noAnswer;
        TTransportMessage record;
        uint32_t size;
    };

    void Bind(TUDPTransport& engine) {
        engine.OnDelivered = {[](void* self, TUDPTransport*, TTransportMessage* r, uint32_t size) {
                                  static_cast<Recorder*>(self)->Push(self, r, size, -2);
                              },
                              this};
        engine.OnAnswer = {[](void* self, TThread*, TTransportMessage* r, uint32_t size) {
                               static_cast<Recorder*>(self)->Push(self, r, size, -3);
                           },
                           this};
        engine.OnMessage = {[](void* self, TThread*, int32_t noAnswer, TTransportMessage* r, uint32_t size) {
                                static_cast<Recorder*>(self)->Push(self, r, size, noAnswer);
                            },
                            this};
    }
    bool WaitDelivered(size_t n, std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock lock(m_mutex);
        return m_cv.wait_for(lock, limit, [&] { return delivered.size() >= n; });
    }

    std::vector<TTransportMessage> delivered, answers;
    std::vector<Message> messages;

private:
    void Push(void*, const TTransportMessage* r, uint32_t size, int kind) {
        std::lock_guard lock(m_mutex);
        if (kind == -2)
            delivered.push_back(*r);
        else if (kind == -3)
            answers.push_back(*r);
        else
            messages.push_back({kind, *r, size});
        m_cv.notify_all();
    }
    std::mutex m_mutex;
    std::condition_variable m_cv;
};

struct Engine {
    explicit Engine(uint32_t timeoutMs = 40, bool ip = true, uint32_t groupFlag = 0, uint32_t groupAddr = 0) {
        auto fake = std::make_unique<FakePort>(timeoutMs, ip);
        port = fake.get();
        engine = std::make_unique<TUDPTransport>(std::move(fake), groupFlag, groupAddr);
        recorder.Bind(*engine);
        engine->StartEngine();
    }
    // The bytes of an answer to the outstanding message.
    std::vector<uint8_t> Answer(uint8_t flags, std::vector<uint8_t> data = {}) const {
        const uint32_t h = MakeHeader(flags, static_cast<uint8_t>(engine->CurrentIdentifier()),
                                      static_cast<uint16_t>(data.size() / 2));
        std::vector<uint8_t> bytes(4);
        std::memcpy(bytes.data(), &h, 4);
        bytes.insert(bytes.end(), data.begin(), data.end());
        return bytes;
    }
    FakePort* port;
    Recorder recorder;
    std::unique_ptr<TUDPTransport> engine;
};

bool Failed(const TTransportMessage& m) {
    return (HeaderFlags(m.header) & kDeliveryFailedMask) == kDeliveryFailedMask;
}

TEST(Engine, UnansweredMessageGoesOutSixTimesThenFails) {
    Engine e(40);
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 75, awFull, 4, "abcd"));
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    const auto sent = e.port->Sent();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[0].flags(), mfFullAnswer);
    for (size_t i = 1; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].flags(), mfFullAnswer | mfRepeat) << i;
        EXPECT_EQ(sent[i].id(), sent[0].id());
        EXPECT_GE(sent[i].at - sent[i - 1].at, std::chrono::milliseconds(35)) << "one answer time-out apart";
    }
    EXPECT_EQ(sent[0].addr, kPeer);
    EXPECT_EQ(sent[0].port, kPeerPort);
    EXPECT_TRUE(Failed(e.recorder.delivered.at(0)));
    EXPECT_FALSE(e.engine->IsBusy());
}

TEST(Engine, NoAnswerMessagesGoOutOnceAndCountAsDelivered) {
    struct Case {
        const char* what;
        bool ip;
        uint32_t addr, port, answerWanted;
    };
    const Case cases[] = {
        {"broadcast over IP", true, 0xFFFFFFFF, kPeerPort, awEmpty},
        {"group address", true, kPeer, 0xFFFF, awEmpty},
        {"no answer wanted", true, kPeer, kPeerPort, awNone},
        {"group on a serial line", false, 0, 0xFFFF, awFull},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Engine e(40, c.ip, 1, 0xFFFF);
        ASSERT_TRUE(e.engine->QueueMessage(c.addr, c.port, 1, c.answerWanted, 0, nullptr));
        ASSERT_TRUE(e.recorder.WaitDelivered(1));
        EXPECT_EQ(e.port->Sent().size(), 1u);
        EXPECT_FALSE(Failed(e.recorder.delivered.at(0)));
    }
}

TEST(Engine, RefusedSendFailsAtOnce) {
    Engine e(1000);
    e.port->refuse = true;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 1, awEmpty, 0, nullptr));
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900)) << "no answer wait";
    EXPECT_TRUE(Failed(e.recorder.delivered.at(0)));
}

TEST(Engine, AnswerEndsTheWaitAndWrongIdsAreIgnored) {
    Engine e(100);
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 66, awFull, 0, nullptr));
    ASSERT_TRUE(e.port->WaitForSent(1));
    auto wrong = e.Answer(mfAnswer | mfFullAnswer, {1, 2});
    wrong[1] = static_cast<uint8_t>(wrong[1] + 1);
    e.port->Feed(kPeer, kPeerPort, wrong);
    ASSERT_TRUE(e.port->WaitForSent(2)) << "a foreign id does not end the wait";
    e.port->Feed(kPeer, kPeerPort, e.Answer(mfAnswer | mfFullAnswer, {1, 2, 3, 4}));
    e.port->Feed(kPeer, kPeerPort, e.Answer(mfAnswer | mfFullAnswer, {9, 9, 9, 9})); // a duplicate
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    EXPECT_FALSE(Failed(e.recorder.delivered.at(0)));
    ASSERT_EQ(e.recorder.answers.size(), 1u) << "only the first answer reaches the host";
    EXPECT_EQ(RealDataLength(e.recorder.answers[0].header), 4u);
    EXPECT_EQ(e.recorder.answers[0].data[3], 4);
}

TEST(Engine, OnlyTheAddresseeAnswersOverIP) {
    Engine e(100);
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 72, awFull, 0, nullptr));
    ASSERT_TRUE(e.port->WaitForSent(1));
    // Forged answers with the right identifier from another port and from another host.
    e.port->Feed(kPeer, kPeerPort + 1, e.Answer(mfAnswer | mfFullAnswer, {6, 6}));
    e.port->Feed(kPeer + 1, kPeerPort, e.Answer(mfAnswer | mfFullAnswer, {7, 7}));
    ASSERT_TRUE(e.port->WaitForSent(2)) << "a forged answer does not end the wait";
    e.port->Feed(kPeer, kPeerPort, e.Answer(mfAnswer | mfFullAnswer, {1, 2}));
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    EXPECT_FALSE(Failed(e.recorder.delivered.at(0)));
    ASSERT_EQ(e.recorder.answers.size(), 1u);
    EXPECT_EQ(e.recorder.answers[0].data[0], 1);
    EXPECT_EQ(e.recorder.answers[0].addr, kPeer);
    EXPECT_EQ(e.recorder.answers[0].port, kPeerPort);
}

TEST(Engine, ASerialPeerAnswersWhateverAddressTheHostNamed) {
    // A serial line carries no IP address: its frames come up with address 0.
    Engine e(100, false);
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, 5, 72, awFull, 0, nullptr));
    ASSERT_TRUE(e.port->WaitForSent(1));
    e.port->Feed(0, 5, e.Answer(mfAnswer | mfFullAnswer, {1, 2}));
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    EXPECT_FALSE(Failed(e.recorder.delivered.at(0)));
}

TEST(Engine, CancelReportsFailureWhenTheWaitEnds) {
    Engine e(100);
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 1, awEmpty, 0, nullptr));
    ASSERT_TRUE(e.port->WaitForSent(1));
    e.engine->Cancel();
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    EXPECT_TRUE(Failed(e.recorder.delivered.at(0)));
    EXPECT_EQ(e.port->Sent().size(), 1u);
    e.engine->Cancel(); // idle: nothing to cancel, and the next message is not affected
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 1, awEmpty, 0, nullptr));
    ASSERT_TRUE(e.port->WaitForSent(2));
    e.port->Feed(kPeer, kPeerPort, e.Answer(mfAnswer));
    ASSERT_TRUE(e.recorder.WaitDelivered(2));
    EXPECT_FALSE(Failed(e.recorder.delivered.at(1)));
}

TEST(Engine, QueueWhileBusyIsRefusedAndChangesNothing) {
    Engine e(200);
    EXPECT_TRUE(e.engine->WaitIdle(0));
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 10, awEmpty, 2, "xy"));
    const TTransportMessage before = e.engine->OutMessage();
    EXPECT_FALSE(e.engine->QueueMessage(kPeer + 1, 1, 11, awFull, 2, "zz"));
    EXPECT_FALSE(e.engine->WaitIdle(0));
    const TTransportMessage after = e.engine->OutMessage();
    EXPECT_EQ(after.addr, before.addr);
    EXPECT_EQ(after.port, before.port);
    EXPECT_EQ(HeaderWords(after.header), HeaderWords(before.header));
    EXPECT_EQ(ExtractMessageID(after.header), ExtractMessageID(before.header));
    EXPECT_EQ(std::memcmp(after.data, before.data, 4), 0);
    e.engine->Cancel();
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
}

TEST(Engine, LongPayloadIsCutTo1054Bytes) {
    Engine e;
    std::vector<uint8_t> payload(2000, 0x5A);
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 0x1234, awNone, 2000, payload.data()));
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    const auto sent = e.port->Sent().at(0);
    ASSERT_EQ(sent.bytes.size(), kMaxWireMessage);
    EXPECT_EQ(sent.bytes[2] | (sent.bytes[3] << 8), 528);
    EXPECT_EQ(sent.bytes[4], 0x34);
    EXPECT_EQ(sent.bytes[5], 0x12);
    EXPECT_EQ(sent.bytes.back(), 0x5A);
}

// An answer for a message that the engine has already given up, arriving while it is still busy,
// must not be taken as the answer to the next message.
TEST(Engine, CopyOfAnAnswerOvertakenByTheNextMessageIsNotItsAnswer) {
    // A duplicated answer passes the identifier check; before it is handled the host has queued
    // its next message. Taken for that message's answer, it would hand up the previous message's
    // data in its place.
    Engine e(10000);
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 67, awEmpty, 0, nullptr));
    ASSERT_TRUE(e.port->WaitForSent(1));
    const auto first = e.Answer(mfAnswer | mfFullAnswer, {1, 0});
    e.port->Feed(kPeer, kPeerPort, first);
    ASSERT_TRUE(e.recorder.WaitDelivered(1));

    struct Host {
        TUDPTransport* engine;
        bool queued = false;
    } host{e.engine.get()};
    // Feed runs the receive path in this thread, so OnReceived may be bound here.
    e.engine->OnReceived = {[](void* context, const TTransportMessage*) {
                                auto* h = static_cast<Host*>(context);
                                h->queued =
                                    h->engine->WaitIdle(100000) &&
                                    h->engine->QueueMessage(kPeer, kPeerPort, 67, awEmpty, 0, nullptr);
                            },
                            &host};
    e.port->Feed(kPeer, kPeerPort, first);
    e.engine->OnReceived = {};
    ASSERT_TRUE(host.queued);
    EXPECT_EQ(e.recorder.answers.size(), 1u) << "the copy was taken for the next message's answer";

    ASSERT_TRUE(e.port->WaitForSent(2));
    e.port->Feed(kPeer, kPeerPort, e.Answer(mfAnswer | mfFullAnswer, {2, 0}));
    ASSERT_TRUE(e.recorder.WaitDelivered(2));
    EXPECT_FALSE(Failed(e.recorder.delivered[1]));
    ASSERT_EQ(e.recorder.answers.size(), 2u);
    EXPECT_EQ(e.recorder.answers[1].data[0], 2) << "the next message's own answer";
}

TEST(Engine, LateAnswerNeverCompletesTheNextMessage) {
    class LateAnswerEngine final : public TUDPTransport {
    public:
        using TUDPTransport::TUDPTransport;
        FakePort* fake = nullptr;
        bool done = false;

    protected:
        void AttemptsOver() override {
            if (done)
                return;
            done = true;
            const uint32_t h = MakeHeader(mfAnswer, static_cast<uint8_t>(CurrentIdentifier()), 0);
            std::vector<uint8_t> bytes(4);
            std::memcpy(bytes.data(), &h, 4);
            fake->Feed(kPeer, kPeerPort, bytes);
        }
    };
    auto fake = std::make_unique<FakePort>(30);
    FakePort* port = fake.get();
    LateAnswerEngine engine(std::move(fake), 0, 0);
    engine.fake = port;
    Recorder recorder;
    recorder.Bind(engine);
    engine.StartEngine();

    ASSERT_TRUE(engine.QueueMessage(kPeer, kPeerPort, 1, awEmpty, 0, nullptr));
    ASSERT_TRUE(recorder.WaitDelivered(1));
    EXPECT_TRUE(Failed(recorder.delivered[0]));
    ASSERT_TRUE(engine.QueueMessage(kPeer, kPeerPort, 2, awEmpty, 0, nullptr));
    ASSERT_TRUE(recorder.WaitDelivered(2));
    EXPECT_TRUE(Failed(recorder.delivered[1])) << "the stale signal completed the second message";
    EXPECT_EQ(port->Sent().size(), 12u);
}

TEST(Engine, FullAnswerSentDuringRepeatsLeavesTheRepeatsAlone) {
    Engine e(60);
    ASSERT_TRUE(e.engine->QueueMessage(kPeer, kPeerPort, 70, awEmpty, 6, "abcdef"));
    ASSERT_TRUE(e.port->WaitForSent(1));
    EXPECT_TRUE(e.engine->SendAnswer(kPeer + 5, 9, 0x33, 8, "ANSWER!!"));
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    const auto sent = e.port->Sent();
    ASSERT_EQ(sent.size(), 7u);
    const Transmission& answer = sent[1];
    EXPECT_EQ(answer.flags(), mfAnswer | mfFullAnswer);
    EXPECT_EQ(answer.id(), 0x33);
    EXPECT_EQ(answer.port, 9u);
    EXPECT_EQ(answer.bytes.size(), 12u);
    std::vector<uint8_t> first = sent[0].bytes;
    for (size_t i = 2; i < sent.size(); ++i) {
        std::vector<uint8_t> repeat = sent[i].bytes;
        repeat[0] = static_cast<uint8_t>(repeat[0] & ~mfRepeat);
        EXPECT_EQ(repeat, first) << "transmission " << i;
        EXPECT_EQ(sent[i].addr, kPeer);
    }
}

std::vector<uint8_t> MessageBytes(uint8_t flags, uint8_t id, std::vector<uint8_t> data) {
    const uint32_t h = MakeHeader(flags, id, static_cast<uint16_t>(data.size() / 2));
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &h, 4);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

TEST(Engine, IncomingMessagesAreAnsweredAndDuplicatesDeliveredOnce) {
    Engine e;
    const auto message = MessageBytes(0, 5, {0x41, 0x00});
    e.port->Feed(kPeer, kPeerPort, message);
    e.port->Feed(kPeer, kPeerPort, MessageBytes(mfRepeat, 5, {0x41, 0x00}));
    e.port->Feed(kPeer, kPeerPort, message); // no repeat flag: delivered again

    const auto sent = e.port->Sent();
    ASSERT_EQ(sent.size(), 3u) << "every copy is answered";
    for (const auto& answer : sent) {
        EXPECT_EQ(answer.bytes, (std::vector<uint8_t>{mfAnswer, 5, 0, 0}));
        EXPECT_EQ(answer.addr, kPeer);
        EXPECT_EQ(answer.port, kPeerPort);
    }
    ASSERT_EQ(e.recorder.messages.size(), 2u);
    EXPECT_EQ(e.recorder.messages[0].noAnswer, 0);
    EXPECT_EQ(e.recorder.messages[0].size, 14u);
}

TEST(Engine, RepeatOfAnAnsweredMessageGetsTheSameAnswerAgain) {
    Engine e;
    e.port->Feed(kPeer, kPeerPort, MessageBytes(mfFullAnswer, 8, {0x48, 0x00}));
    ASSERT_EQ(e.recorder.messages.size(), 1u);
    ASSERT_TRUE(e.engine->SendAnswer(kPeer, kPeerPort, 8, 4, "DATA"));
    // The answer was lost: the sender repeats; the host is not told again, the answer goes again.
    e.port->Feed(kPeer, kPeerPort, MessageBytes(mfFullAnswer | mfRepeat, 8, {0x48, 0x00}));
    EXPECT_EQ(e.recorder.messages.size(), 1u);
    const auto sent = e.port->Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].bytes, sent[0].bytes);
    // A repeat from another peer, or of another id, gets nothing.
    e.port->Feed(kPeer + 1, kPeerPort, MessageBytes(mfFullAnswer | mfRepeat, 8, {0x48, 0x00}));
    EXPECT_EQ(e.port->Sent().size(), 2u);
}

TEST(Engine, WhoAnswersIncomingMessages) {
    struct Case {
        const char* what;
        uint8_t flags;
        uint32_t port;
        size_t emptyAnswers;
        int32_t noAnswer;
    };
    const Case cases[] = {
        {"plain", 0, kPeerPort, 1, 0},
        {"full answer wanted: the host answers", mfFullAnswer, kPeerPort, 0, 0},
        {"no answer", mfNoAnswer, kPeerPort, 0, -1},
        {"group", 0, 0xFFFF, 0, -1},
        {"upper flag bits are copied", 0xF0, kPeerPort, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Engine e(40, true, 1, 0xFFFF);
        e.port->Feed(kPeer, c.port, MessageBytes(c.flags, 9, {1, 0}));
        const auto sent = e.port->Sent();
        ASSERT_EQ(sent.size(), c.emptyAnswers);
        if (!sent.empty()) {
            EXPECT_EQ(sent[0].flags(), uint8_t(c.flags | mfAnswer));
        }
        ASSERT_EQ(e.recorder.messages.size(), 1u);
        EXPECT_EQ(e.recorder.messages[0].noAnswer, c.noAnswer);
    }
}

TEST(Engine, ReceivedLengthIsNeverTrustedBeyondTheBytes) {
    Engine e;
    auto lying = MessageBytes(0, 3, {7, 0, 1, 2});
    lying[2] = 0xFF; // claims 0xFFFF words
    lying[3] = 0xFF;
    e.port->Feed(kPeer, kPeerPort, lying);
    e.port->Feed(kPeer, kPeerPort, {0x00, 0x04}); // not even a header
    ASSERT_EQ(e.recorder.messages.size(), 1u);
    EXPECT_EQ(HeaderWords(e.recorder.messages[0].record.header), 2u);
    EXPECT_EQ(e.recorder.messages[0].size, 12u + 4u);
}

TEST(Engine, AllBitsAddressIsABroadcastOnlyOverIP) {
    // On a serial line the same address is an ordinary message: waited for and repeated.
    Engine e(5, false);
    ASSERT_TRUE(e.engine->QueueMessage(0xFFFFFFFF, kPeerPort, 1, awEmpty, 0, nullptr));
    ASSERT_TRUE(e.recorder.WaitDelivered(1));
    EXPECT_EQ(e.port->Sent().size(), 6u);
    EXPECT_TRUE(Failed(e.recorder.delivered.at(0)));
}

TEST(Engine, ReceivedFramesWaitThePauseTheirPortAsksFor) {
    for (const auto pause : {std::chrono::milliseconds(0), std::chrono::milliseconds(60)}) {
        SCOPED_TRACE(pause.count());
        Engine e;
        e.port->receivePause = pause;
        const auto fed = std::chrono::steady_clock::now();
        e.port->Feed(kPeer, kPeerPort, MessageBytes(0, 4, {0x41, 0x00}));
        const auto sent = e.port->Sent();
        ASSERT_EQ(sent.size(), 1u) << "the empty answer";
        EXPECT_GE(sent[0].at - fed, pause);
        EXPECT_EQ(e.recorder.messages.size(), 1u);
    }
}

TEST(Engine, StopEndsTheThreadAtOnceWhateverItWaitsFor) {
    // The answer time-out is far beyond the bound below: an engine that waited it out after Stop
    // would be caught.
    constexpr uint32_t kLongTimeoutMs = 120000;
    enum class State { NeverStarted, Idle, WaitingForAnswer };
    for (const State state : {State::NeverStarted, State::Idle, State::WaitingForAnswer}) {
        SCOPED_TRACE(static_cast<int>(state));
        auto fake = std::make_unique<FakePort>(kLongTimeoutMs);
        FakePort* port = fake.get();
        std::atomic<int> transmissions{0};
        port->onTransmit = [&](const Transmission&) { ++transmissions; };
        Recorder recorder;
        auto engine = std::make_unique<TUDPTransport>(std::move(fake), 0, 0);
        recorder.Bind(*engine);
        if (state != State::NeverStarted)
            engine->StartEngine();
        if (state == State::WaitingForAnswer) {
            ASSERT_TRUE(engine->QueueMessage(kPeer, kPeerPort, 1, awEmpty, 0, nullptr));
            ASSERT_TRUE(port->WaitForSent(1));
        }
        const auto start = std::chrono::steady_clock::now();
        engine->Stop();
        engine.reset(); // waits for the engine thread
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        EXPECT_TRUE(recorder.delivered.empty()) << "nothing is reported once stopped";
        EXPECT_EQ(transmissions.load(), state == State::WaitingForAnswer ? 1 : 0) << "no repeat after Stop";
    }
}

} // namespace
