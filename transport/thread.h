#pragma once
// Thread classes of the library: a thread object created suspended, started by its owner, told to
// end by a flag, and a variant that can run a procedure in the host's main thread.

#include <atomic>
#include <thread>

namespace velnet {

class TThread {
public:
    TThread() = default;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    // Owners end the thread (Terminate, wake it, WaitFor) before destroying it; the join here is
    // only a last safeguard.
    virtual ~TThread();

    void Start();
    void Terminate() { m_terminated.store(true, std::memory_order_release); }
    bool Terminated() const { return m_terminated.load(std::memory_order_acquire); }
    bool Suspended() const { return !m_started; }
    void WaitFor();

    // Steps above normal (Windows' thread priorities); applied by the thread itself when it starts.
    // Best effort: a refused change is not an error.
    void SetPriority(int stepsAboveNormal) { m_priority = stepsAboveNormal; }

protected:
    virtual void Execute() = 0;

private:
    void Run();

    std::thread m_thread;
    bool m_started = false;
    int m_priority = 0;
    std::atomic<bool> m_terminated{false};
};

// A plain procedure with its context, as the host hands it to Synchronize.
using SyncProcedure = void (*)(void* context);

// Runs proc in the host's main thread and waits until it has run: a blocking queued call into the Qt
// application's thread when one exists (directly when already there), otherwise in the calling
// thread under one library-wide lock.
void RunInMainThread(SyncProcedure proc, void* context);

class TThreadPublicSync : public TThread {
public:
    void Synchronize(SyncProcedure proc, void* context) { RunInMainThread(proc, context); }
};

} // namespace velnet
