#pragma once
// A progress bar and, beside it, the number of blocks done ("%d"), as one Progress.

#include "app/seams/progress.h"

#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QWidget;

namespace zarno {

class BarProgress final : public Progress {
public:
    BarProgress(QProgressBar* bar, QLabel* counter) : m_bar(bar), m_counter(counter) { m_sincePaint.start(); }
    void setRange(qint64 total) override;
    void setValue(qint64 done) override;

private:
    QProgressBar* m_bar;
    QLabel* m_counter;
    QElapsedTimer m_sincePaint;
};

// The dialogs' bars stay hidden until their work starts; bars and counters carry object names, so
// that tests can find them.
QProgressBar* HiddenProgressBar(QWidget* parent, const char* objectName);
QLabel* NamedLabel(QLabel* label, const char* objectName);

} // namespace zarno
