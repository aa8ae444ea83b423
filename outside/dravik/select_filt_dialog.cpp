// SelectFiltA: the filter settings dialog. It edits a copy of the record (fs, N, β and the bands
// with their edges and gains) and shows the response the copy describes; OK writes the copy back.

#include "outside/dravik/dravik_internal.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kPreviewPoints = 256;
constexpr double kFloorDb = -100.0;

// The magnitude response in dB over 0 .. the highest frequency.
class ResponsePreview : public QWidget {
public:
    explicit ResponsePreview(QWidget* parent) : QWidget(parent) { setMinimumSize(420, 180); }
    void setResponse(std::vector<double> db) {
        m_db = std::move(db);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(Qt::gray);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (m_db.size() < 2) {
            p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Фильтр не задан"));
            return;
        }
        const double top = std::max(*std::max_element(m_db.begin(), m_db.end()), kFloorDb + 1.0);
        QPainterPath path;
        for (std::size_t i = 0; i < m_db.size(); ++i) {
            const double x = double(i) / double(m_db.size() - 1) * (width() - 1);
            const double level = std::clamp(m_db[i], kFloorDb, top);
            const double y = (top - level) / (top - kFloorDb) * (height() - 1);
            i == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
        }
        p.setPen(QPen(Qt::darkBlue, 1.5));
        p.drawPath(path);
        p.setPen(Qt::black);
        p.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignLeft,
                   QStringLiteral("%1 дБ").arg(top, 0, 'f', 1));
        p.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignBottom | Qt::AlignLeft,
                   QStringLiteral("%1 дБ").arg(kFloorDb, 0, 'f', 0));
    }

private:
    std::vector<double> m_db;
};

class FilterDialog : public QDialog {
public:
    explicit FilterDialog(const DravikFilterRecord& record) : m_record(record) {
        setWindowTitle(QStringLiteral("Параметры фильтра"));
        auto* form = new QFormLayout;
        m_fs = spin(form, QStringLiteral("Масштаб частоты fs:"), 1e-6, 1e9, record.fs, 3);
        m_beta = spin(form, QStringLiteral("Параметр окна β:"), 0.0, 100.0, record.beta, 3);
        m_n = new QSpinBox(this);
        m_n->setRange(2, 65536);
        m_n->setValue(std::clamp(int32_t{record.halfLength}, 2, 65536));
        form->addRow(QStringLiteral("Полудлина N:"), m_n);
        m_count = new QSpinBox(this);
        m_count->setRange(1, 100);
        m_count->setValue(
            std::clamp(static_cast<int>(std::min<uint32_t>(uint32_t(record.bandCount), 100u)), 1, 100));
        form->addRow(QStringLiteral("Число полос:"), m_count);

        m_bands = new QTableWidget(0, 3, this);
        m_bands->setHorizontalHeaderLabels(
            {QStringLiteral("Верхняя f1"), QStringLiteral("Нижняя f2"), QStringLiteral("Усиление")});
        m_bands->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        m_preview = new ResponsePreview(this);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(m_bands);
        layout->addWidget(m_preview);
        layout->addWidget(buttons);

        setRows(m_count->value());
        connect(m_count, &QSpinBox::valueChanged, this, [this](int rows) {
            setRows(rows);
            refresh();
        });
        for (QObject* field : {static_cast<QObject*>(m_fs), static_cast<QObject*>(m_beta)})
            connect(static_cast<QDoubleSpinBox*>(field), &QDoubleSpinBox::valueChanged, this,
                    [this] { refresh(); });
        connect(m_n, &QSpinBox::valueChanged, this, [this] { refresh(); });
        connect(m_bands, &QTableWidget::cellChanged, this, [this] { refresh(); });
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        refresh();
    }

    // The record as the dialog shows it.
    DravikFilterRecord edited() {
        DravikFilterRecord r = m_record;
        r.fs = m_fs->value();
        r.beta = m_beta->value();
        r.halfLength = m_n->value();
        r.bandCount = m_count->value();
        for (int row = 0; row < m_bands->rowCount(); ++row)
            r.bands[row] = DravikBand{cell(row, 0), cell(row, 1), cell(row, 2)};
        return r;
    }

private:
    QDoubleSpinBox* spin(QFormLayout* form, const QString& label, double lo, double hi, double value,
                         int decimals) {
        auto* box = new QDoubleSpinBox(this);
        box->setRange(lo, hi);
        box->setDecimals(decimals);
        box->setValue(value);
        form->addRow(label, box);
        return box;
    }

    double cell(int row, int column) const {
        const QTableWidgetItem* item = m_bands->item(row, column);
        return item ? item->text().toDouble() : 0.0;
    }

    void setRows(int rows) {
        const QSignalBlocker block(m_bands);
        const int old = m_bands->rowCount();
        m_bands->setRowCount(rows);
        for (int row = old; row < rows; ++row) {
            const DravikBand b = m_record.bands[row];
            const double values[3] = {b.f1, b.f2, b.gain};
            for (int column = 0; column < 3; ++column)
                m_bands->setItem(row, column, new QTableWidgetItem(QString::number(values[column], 'g', 10)));
        }
    }

    void refresh() { m_preview->setResponse(dravik::ResponseDb(edited(), kPreviewPoints)); }

    DravikFilterRecord m_record;
    QDoubleSpinBox* m_fs;
    QDoubleSpinBox* m_beta;
    QSpinBox* m_n;
    QSpinBox* m_count;
    QTableWidget* m_bands;
    ResponsePreview* m_preview;
};

} // namespace

extern "C" int32_t SelectFiltA(DravikFilterRecord* record) {
    if (!record)
        return 0;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        std::fprintf(stderr, "Dravik: нет графического приложения, параметры фильтра не изменены\n");
        return 0;
    }
    FilterDialog dialog(*record);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    const DravikFilterRecord edited = dialog.edited();
    std::memcpy(record, &edited, sizeof edited);
    return 1;
}
