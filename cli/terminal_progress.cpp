#include "cli/terminal_progress.h"

#include <cstdio>
#include <unistd.h>

namespace zarno {

TerminalProgress::TerminalProgress(QString what)
    : m_what(std::move(what)), m_enabled(isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() {
    if (m_drawn)
        std::fputc('\n', stderr);
}

void TerminalProgress::setRange(qint64 total) {
    m_total = total;
    Draw();
}

void TerminalProgress::setValue(qint64 done) {
    m_done = done;
    Draw();
}

void TerminalProgress::Draw() {
    if (!m_enabled || m_total <= 0)
        return;
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(kWidth * std::min(m_done, m_total) / m_total);
    std::fprintf(stderr, "\r%s [%.*s%*s] %lld/%lld", m_what.toLocal8Bit().constData(), filled,
                 "##############################", kWidth - filled, "", static_cast<long long>(m_done),
                 static_cast<long long>(m_total));
    std::fflush(stderr);
    m_drawn = true;
}

} // namespace zarno
