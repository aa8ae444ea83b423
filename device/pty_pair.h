#pragma once
// A linked pair of pseudo-terminals: what is written to one end's device is read from the other's,
// both ways, the way a null-modem cable links two serial ports. The simulator serves on one end and
// names the other, so a client's COM port can be pointed at it with no hardware and no other tool.

#include <string>
#include <thread>

namespace zarno::device {

class PtyPair {
public:
    // Opens both pseudo-terminals in raw mode and starts relaying; throws std::runtime_error.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& ServedPath() const { return m_path[0]; }
    const std::string& PeerPath() const { return m_path[1]; }

private:
    void Relay();

    int m_master[2] = {-1, -1};
    // Each end's device stays open here too, so that its master never reads end-of-file while no one
    // else has the device open.
    int m_slave[2] = {-1, -1};
    std::string m_path[2];
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace zarno::device
