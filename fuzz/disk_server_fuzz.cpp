// The instrument simulator's command server against arbitrary request sequences: it must answer every
// request with a status word and an even length, and nothing may appear or change outside its root.

#include "device/disk_server.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {
namespace fs = std::filesystem;

struct Sandbox {
    Sandbox() {
        std::string templ = (fs::temp_directory_path() / "zarno-fuzz-XXXXXX").string();
        dir = mkdtemp(templ.data());
        std::ofstream(dir / "CANARY.TXT") << "outside";
    }
    ~Sandbox() { fs::remove_all(dir); }
    // A fresh root with a file and a subdirectory for every input.
    fs::path FreshRoot() const {
        const fs::path root = dir / "ROOT";
        fs::remove_all(root);
        fs::create_directories(root / "SUB");
        std::ofstream(root / "A.TXT") << std::string(700, 'a');
        std::ofstream(root / "SUB" / "B.DDB") << "b";
        return root;
    }
    void CheckOutside() const {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(dir)) {
            if (e.path().filename() != "ROOT" && e.path().filename() != "CANARY.TXT")
                std::abort();
            ++n;
        }
        std::ifstream in(dir / "CANARY.TXT");
        std::string text;
        in >> text;
        if (n != 2 || text != "outside")
            std::abort();
    }
    fs::path dir;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Sandbox sandbox;
    zarno::device::DiskServerOptions options;
    options.root = sandbox.FreshRoot();
    options.diskSize = 4096;
    {
        zarno::device::DiskServer server(options);
        // Each request: a code byte (most land on the command codes), a length byte, the payload.
        size_t at = 0;
        while (at + 2 <= size) {
            const auto code = static_cast<uint16_t>(data[at] < 0xF0 ? 64 + data[at] % 14 : data[at]);
            const size_t length = std::min<size_t>(data[at + 1] * 3u, size - at - 2);
            const auto answer = server.Handle(code, std::span<const uint8_t>(data + at + 2, length));
            if (answer.size() < 2 || answer.size() % 2 != 0)
                std::abort();
            at += 2 + length;
        }
    }
    sandbox.CheckOutside();
    return 0;
}
