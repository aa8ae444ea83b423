#pragma once
// The instrument's side of the link: a transport of libvelnet.so, bound at run time through its
// exports exactly as the instrument's peer uses them, that hands every message to the disk command
// server and sends the answer back to wherever the message came from (address and port, or line
// address), so that it also works behind a relay.
//
// Messages are taken off the library's receive thread into a queue and served by one worker in
// order, so a deliberate delay holds back the answers without holding back the receiving.

#include "app/link/velnet_api.h"
#include "device/disk_server.h"
#include "device/misbehaviour.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace zarno::device {

class VelnetService {
public:
    VelnetService(VelnetApi& api, DiskServer& disk, Misbehaviour& misbehaviour, uint32_t delayMs,
                  bool verbose);
    ~VelnetService();
    VelnetService(const VelnetService&) = delete;
    VelnetService& operator=(const VelnetService&) = delete;

    // A UDP transport on this local port (library convention); false with the reason in error.
    bool OpenUdp(uint32_t portValue, std::string* error);
    // A serial transport on "COM1" or "COM2" with this side's line address.
    bool OpenSerial(const std::string& comName, uint32_t lineAddr, uint32_t speed, std::string* error);
    // Serves until stop becomes true. Requests are served as they arrive, in the library's receive
    // thread: a hand-over to a thread of our own would cost as much as the command itself.
    void Run(const std::atomic<bool>& stop);

private:
    struct Request {
        uint32_t addr = 0;
        uint32_t port = 0;
        uint8_t flags = 0;
        uint8_t id = 0;
        bool answerWanted = false;
        std::vector<uint8_t> data; // the message code and its payload
    };
    // The last request served and its answer: the same message arriving again (a duplicated
    // datagram) gets the same answer instead of running the command twice.
    struct Served {
        Request request;
        std::vector<uint8_t> answer;
        bool answered = false;
        std::chrono::steady_clock::time_point when;
    };

    static void OnMessage(void* sender, int32_t noAnswer, void* record, uint32_t size);
    bool Connect(std::string* error);
    void Serve(const Request& r);
    bool IsRepeatOfLast(const Request& r) const;
    void Answer(const Request& r, const std::vector<uint8_t>& answer);

    VelnetApi& m_api;
    DiskServer& m_disk;
    Misbehaviour& m_misbehaviour;
    uint32_t m_delayMs;
    bool m_verbose;
    uint32_t m_handle = 0;
    std::mutex m_serveMutex; // one request at a time, whichever library thread delivers it
    Served m_last;
    bool m_haveLast = false;
};

} // namespace zarno::device
