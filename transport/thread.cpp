#include "transport/thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <mutex>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velnet {

TThread::~TThread() {
    if (!m_thread.joinable())
        return;
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach(); // destroyed from its own thread: it can only be let go
    else
        m_thread.join();
}

void TThread::Start() {
    if (m_started)
        return;
    m_started = true;
    m_thread = std::thread([this] { Run(); });
}

void TThread::WaitFor() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

void TThread::Run() {
    if (m_priority != 0) {
        // One Windows priority step is taken as one nice level; only a privileged process may raise.
        const auto tid = static_cast<id_t>(syscall(SYS_gettid));
        const int current = getpriority(PRIO_PROCESS, tid);
        (void)setpriority(PRIO_PROCESS, tid, current - m_priority);
    }
    Execute();
}

namespace {
std::mutex& SyncLock() {
    static std::mutex lock;
    return lock;
}
} // namespace

void RunInMainThread(SyncProcedure proc, void* context) {
    if (!proc)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        std::lock_guard lock(SyncLock());
        proc(context);
        return;
    }
    if (QThread::currentThread() == app->thread()) {
        proc(context);
        return;
    }
    QMetaObject::invokeMethod(app, [proc, context] { proc(context); }, Qt::BlockingQueuedConnection);
}

} // namespace velnet
