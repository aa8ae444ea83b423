#include "app/ui/viewer/dlg_nscreen.h"

#include "app/seams/prompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zarno {

namespace {

struct FieldRange {
    int low, high;
};
constexpr std::array<FieldRange, 4> kRanges{{{0, 128}, {1, 200}, {1, 100}, {2, 1000}}};

} // namespace

CDlgNScreen::CDlgNScreen(Prompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts) {
    setWindowTitle(tr("Настройка параметров отображения информации"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const QString labels[] = {
        tr("Максимально возможное количество графиков на экране,\nотображаемое без прокрутки экрана"),
        tr("Шаг графиков сигналов по оси  X (мс)"),
        tr("Шаг графиков спектра по оси  X "),
        QString(),
    };
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i] = new QLineEdit(QStringLiteral("0"), this);
        if (i + 1 < m_fields.size())
            form->addRow(labels[i], m_fields[i]);
    }
    layout->addLayout(form);
    // The vertical zoom divisor is edited nowhere; its field exists only to carry the value.
    m_fields[3]->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgNScreen::accept);
    layout->addWidget(buttons);
}

void CDlgNScreen::setValues(const std::array<int, 4>& values) {
    m_values = values;
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setText(QString::number(values[i]));
}

bool CDlgNScreen::exchange() {
    std::array<int, 4> read{};
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        bool ok = false;
        const int v = m_fields[i]->text().trimmed().toInt(&ok);
        if (!ok) {
            m_prompts.message(QStringLiteral("Please enter an integer."), QString(), PromptIcon::Warning);
            m_fields[i]->setFocus();
            return false;
        }
        if (v < kRanges[i].low || v > kRanges[i].high) {
            m_prompts.message(QStringLiteral("Please enter an integer between %1 and %2.")
                                  .arg(kRanges[i].low)
                                  .arg(kRanges[i].high),
                              QString(), PromptIcon::Warning);
            m_fields[i]->setFocus();
            return false;
        }
        read[i] = v;
    }
    m_values = read;
    return true;
}

void CDlgNScreen::accept() {
    if (exchange())
        QDialog::accept();
}

} // namespace zarno
