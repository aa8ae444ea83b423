#pragma once
// An auto-reset event: Set wakes one waiter, and the wait that takes it clears it. The worker of an
// exchange and the library's threads meet on these; the program keeps its own rather than the
// library's, whose insides it never includes.

#include <condition_variable>
#include <mutex>

namespace zarno {

class LinkEvent {
public:
    LinkEvent() = default;
    LinkEvent(const LinkEvent&) = delete;
    LinkEvent& operator=(const LinkEvent&) = delete;

    void Set() {
        {
            std::lock_guard lock(m_mutex);
            m_set = true;
        }
        m_cv.notify_one();
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_set = false;
    }
    // Waits until the event is set, and clears it.
    void Wait() {
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [this] { return m_set; });
        m_set = false;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_set = false;
};

} // namespace zarno
