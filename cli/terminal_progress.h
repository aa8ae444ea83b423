#pragma once
// Progress of a long command as a bar on standard error, drawn only when standard error is a
// terminal (a log file gets no bar).

#include "app/seams/progress.h"

#include <QString>

namespace zarno {

class TerminalProgress final : public Progress {
public:
    explicit TerminalProgress(QString what);
    ~TerminalProgress() override;
    void setRange(qint64 total) override;
    void setValue(qint64 done) override;

private:
    void Draw();
    QString m_what;
    qint64 m_total = 0;
    qint64 m_done = 0;
    bool m_enabled;
    bool m_drawn = false;
};

} // namespace zarno
