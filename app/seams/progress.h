#pragma once
// Progress of long work (conversions, transfers): a range, then values within it. A dialog shows a
// progress bar, the CLI a line on standard error, tests record.

#include <QtGlobal>

namespace zarno {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setRange(qint64 total) = 0;
    virtual void setValue(qint64 done) = 0;
};

// For callers that want no progress shown.
class NoProgress final : public Progress {
public:
    void setRange(qint64) override {}
    void setValue(qint64) override {}
};

} // namespace zarno
