// Arbitrary datagrams handed to the engine's receive handler, as a peer on the network could send
// them; the engine must never read or hand up more than it received.

#include "transport/udp_transport.h"

#include "tests/transport/fake_port.h"

#include <cstring>
#include <vector>

namespace {

struct Harness {
    Harness() {
        auto fake = std::make_unique<velnet::testing::FakePort>(1);
        port = fake.get();
        engine = std::make_unique<velnet::TUDPTransport>(std::move(fake), 1, 0xFFFF);
        engine->OnMessage = {&Harness::Touch, this};
        engine->OnAnswer = {[](void* self, velnet::TThread*, velnet::TTransportMessage* r, uint32_t size) {
                                Touch(self, nullptr, 0, r, size);
                            },
                            this};
        engine->StartEngine();
    }
    // Reads every byte the record claims, so that AddressSanitizer sees any overrun.
    static void Touch(void* self, velnet::TThread*, int32_t, velnet::TTransportMessage* r, uint32_t size) {
        auto* h = static_cast<Harness*>(self);
        const auto* bytes = reinterpret_cast<const uint8_t*>(r);
        for (uint32_t i = 0; i < size; ++i)
            h->sum += bytes[i];
        if (size > velnet::kMaxRecord)
            __builtin_trap();
    }
    velnet::testing::FakePort* port;
    std::unique_ptr<velnet::TUDPTransport> engine;
    unsigned sum = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    // The receive buffer of a real port is larger than any message; the engine keeps at most 1060.
    std::vector<uint8_t> datagram(data, data + std::min<size_t>(size, 4096));
    harness.port->Feed(0x0100007F, 6768, std::move(datagram));
    return 0;
}
