#include "app/ui/dialogs/bar_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

#include <limits>

namespace zarno {

namespace {
int Clamped(qint64 v) {
    return int(qBound(qint64{0}, v, qint64{std::numeric_limits<int>::max()}));
}
} // namespace

void BarProgress::setRange(qint64 total) {
    if (m_bar) {
        m_bar->setRange(0, Clamped(total));
        m_bar->setValue(0);
    }
}

void BarProgress::setValue(qint64 done) {
    if (m_bar)
        m_bar->setValue(Clamped(done));
    if (m_counter)
        m_counter->setText(QString::number(done));
    // A copy between computer directories runs without the event loop: let the bar repaint now and
    // then, but take no clicks, as such a copy has nothing to cancel it.
    if (m_sincePaint.elapsed() > 50) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sincePaint.restart();
    }
}

QProgressBar* HiddenProgressBar(QWidget* parent, const char* objectName) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QLatin1String(objectName));
    bar->setTextVisible(false);
    bar->hide();
    return bar;
}

QLabel* NamedLabel(QLabel* label, const char* objectName) {
    label->setObjectName(QLatin1String(objectName));
    return label;
}

} // namespace zarno
