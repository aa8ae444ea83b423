#pragma once
// An event in the Windows sense: manual- or auto-reset, waited for with a time limit.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace velnet {

class Event {
public:
    enum class Reset { Auto, Manual };
    static constexpr int kInfinite = -1;

    explicit Event(Reset reset, bool initiallySet = false) : m_reset(reset), m_set(initiallySet) {}
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set() {
        {
            std::lock_guard lock(m_mutex);
            m_set = true;
        }
        if (m_reset == Reset::Manual)
            m_cv.notify_all();
        else
            m_cv.notify_one();
    }

    void Clear() {
        std::lock_guard lock(m_mutex);
        m_set = false;
    }

    // True when the event was set within timeoutMs (kInfinite: no limit). An auto-reset event is
    // cleared by the wait that takes it.
    bool Wait(int timeoutMs) {
        std::unique_lock lock(m_mutex);
        const auto ready = [this] { return m_set; };
        if (timeoutMs < 0)
            m_cv.wait(lock, ready);
        else if (!m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready))
            return false;
        if (m_reset == Reset::Auto)
            m_set = false;
        return true;
    }

private:
    const Reset m_reset;
    bool m_set;
    std::mutex m_mutex;
    std::condition_variable m_cv;
};

} // namespace velnet
