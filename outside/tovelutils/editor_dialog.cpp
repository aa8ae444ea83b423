// The gain editor (ordinal 2) and the go-on question (ordinal 3), in the editor module.

#include "outside/tovelutils/gain_curve.h"
#include "outside/tovelutils/editor_module.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

bool HaveGui(const char* what) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return true;
    std::fprintf(stderr, "TovelUtils: нет графического приложения, %s\n", what);
    return false;
}

// The curve in dB against the sample index.
class CurvePlot : public QWidget {
public:
    explicit CurvePlot(QWidget* parent) : QWidget(parent) { setMinimumSize(360, 160); }
    void setCurve(std::vector<double> curve) {
        m_curve = std::move(curve);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(Qt::gray);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (m_curve.empty())
            return;
        double top = 1.0;
        for (double v : m_curve)
            top = std::max(top, 20.0 * std::log10(std::max(v, 1e-12)));
        QPainterPath path;
        const double last = std::max<double>(double(m_curve.size()) - 1.0, 1.0);
        for (std::size_t k = 0; k < m_curve.size(); ++k) {
            const double db = std::clamp(20.0 * std::log10(std::max(m_curve[k], 1e-12)), 0.0, top);
            const double x = double(k) / last * (width() - 1);
            const double y = (1.0 - db / top) * (height() - 1);
            k == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
        }
        p.setPen(QPen(Qt::darkRed, 1.5));
        p.drawPath(path);
        p.setPen(Qt::black);
        p.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignLeft,
                   QStringLiteral("%1 дБ").arg(top, 0, 'f', 1));
    }

private:
    std::vector<double> m_curve;
};

class GainEditor : public QDialog {
public:
    GainEditor(int32_t first, int32_t second, int32_t ns) : m_ns(ns) {
        setWindowTitle(QStringLiteral("Параметры ВАРУ"));
        auto* form = new QFormLayout;
        m_end = new QSpinBox(this);
        m_end->setRange(0, tovel::kMaxEndDb);
        m_end->setValue(std::clamp(first, 0, tovel::kMaxEndDb));
        form->addRow(QStringLiteral("Усиление в конце, дБ:"), m_end);
        m_start = new QSpinBox(this);
        m_start->setRange(0, tovel::kMaxStartPercent);
        m_start->setValue(std::clamp(second, 0, tovel::kMaxStartPercent));
        form->addRow(QStringLiteral("Начало подъёма, % трассы:"), m_start);
        m_plot = new CurvePlot(this);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(m_plot);
        layout->addWidget(buttons);
        connect(m_end, &QSpinBox::valueChanged, this, [this] { refresh(); });
        connect(m_start, &QSpinBox::valueChanged, this, [this] { refresh(); });
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        refresh();
    }
    int32_t endDb() const { return m_end->value(); }
    int32_t startPercent() const { return m_start->value(); }

private:
    void refresh() {
        std::vector<double> curve(static_cast<std::size_t>(std::max(m_ns, 0)));
        tovel::FillCurve(endDb(), startPercent(), curve.data(), m_ns);
        m_plot->setCurve(std::move(curve));
    }

    int32_t m_ns;
    QSpinBox* m_end;
    QSpinBox* m_start;
    CurvePlot* m_plot;
};

} // namespace

extern "C" int32_t TovelEditorEdit(int32_t* first, int32_t* second, int32_t ns, double* curve) {
    if (!first || !second || !curve || ns < 1)
        return 0;
    if (!HaveGui("параметры ВАРУ не изменены"))
        return 0;
    GainEditor editor(*first, *second, ns);
    if (editor.exec() != QDialog::Accepted)
        return 0;
    *first = editor.endDb();
    *second = editor.startPercent();
    tovel::FillCurve(*first, *second, curve, ns);
    return 1;
}

extern "C" int32_t TovelEditorAsk(void* window) {
    if (!HaveGui("настройка ВАРУ отменена"))
        return 0;
    const auto answer = QMessageBox::question(static_cast<QWidget*>(window), QStringLiteral("ВАРУ"),
                                              QStringLiteral("Изменить параметры ВАРУ?"));
    return answer == QMessageBox::Yes ? 1 : 0;
}
