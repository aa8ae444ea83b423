#include "app/ui/viewer/pict_form.h"

#include "app/viewer/lengths_list.h"
#include "app/viewer/pict_doc.h"
#include "app/viewer/pict_panel_model.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zarno {

namespace {

constexpr int kColumnNumber = 0;
constexpr int kColumnKy = 1;
constexpr int kLengthRows = 5; // one per marker

QTableWidget* MakeList(const QStringList& headers, const std::vector<int>& widths, QWidget* parent) {
    auto* list = new QTableWidget(0, int(headers.size()), parent);
    list->setHorizontalHeaderLabels(headers);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    for (std::size_t i = 0; i < widths.size(); ++i)
        list->setColumnWidth(int(i), widths[i]);
    return list;
}

// The readouts change with every marker: the panel is laid out with room for the widest they show
// (a time or length of 999.999, a frequency of seven digits), in whatever language their labels are.
void ReserveReadoutWidth(QLabel* label, const QStringList& widest) {
    int width = 0;
    for (const QString& text : widest)
        width = std::max(width, label->fontMetrics().horizontalAdvance(text));
    label->setMinimumWidth(width);
}

QTableWidgetItem* Cell(QTableWidget* list, int row, int column) {
    QTableWidgetItem* item = list->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        list->setItem(row, column, item);
    }
    return item;
}

} // namespace

CPictForm1::CPictForm1(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(makeGraphsGroup());
    auto* current = new QGroupBox(tr("Текущий маркер"), this);
    auto* currentLayout = new QVBoxLayout(current);
    // Time and length side by side, the difference from the previous marker below: two rows keep the
    // panel within the height of a 1280×800 screen.
    auto* readoutRow = new QHBoxLayout;
    m_time = new QLabel(TimeReadoutLabel(), current);
    m_length = new QLabel(LengthReadoutLabel(), current);
    ReserveReadoutWidth(m_time, {MarkerReadoutText(TimeReadoutLabel(), 999.999), FrequencyReadoutText(9999999)});
    ReserveReadoutWidth(m_length, {MarkerReadoutText(LengthReadoutLabel(), 999.999)});
    readoutRow->addWidget(m_time);
    readoutRow->addWidget(m_length);
    currentLayout->addLayout(readoutRow);
    m_delta = new QLabel(kDeltaReadoutLabel, current);
    currentLayout->addWidget(m_delta);
    layout->addWidget(current);

    auto* velocityRow = new QHBoxLayout;
    velocityRow->addWidget(new QLabel(tr("Скорость : "), this));
    m_velocity = new QLineEdit(kStartVelocityText, this);
    velocityRow->addWidget(m_velocity);
    layout->addLayout(velocityRow);
    m_varu = new QCheckBox(tr("Использовать ВАРУ"), this);
    m_processing = new QCheckBox(tr("Включить обработку"), this);
    m_filter = new QCheckBox(tr("Включить фильтр"), this);
    layout->addWidget(m_varu);
    layout->addWidget(m_processing);
    layout->addWidget(m_filter);
    layout->addWidget(makeMarkerGroup());

    layout->addWidget(new QLabel(tr("Список длин"), this));
    m_lengths = MakeList({tr("Номер"), tr("Расстояние(m)")}, {55, 109}, this);
    m_lengths->setRowCount(4);
    for (int r = 0; r < 4; ++r) {
        Cell(m_lengths, r, 0)->setText(QString::number(r + 1));
        Cell(m_lengths, r, 1)->setText(QStringLiteral("0"));
    }
    // All five markers' rows at once, without a scroll bar.
    m_lengths->setFixedHeight(m_lengths->horizontalHeader()->sizeHint().height() +
                              kLengthRows * m_lengths->verticalHeader()->defaultSectionSize() +
                              2 * m_lengths->frameWidth());
    m_lengths->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_lengths);
    auto* reset = new QPushButton(tr("Сбросить маркеры"), this);
    layout->addWidget(reset);
    layout->addWidget(makeAxisGroup());
    layout->addStretch(1);
    // Tight margins and spacing: the whole panel has to fit the height of a 1280×800 screen.
    for (QLayout* inner : findChildren<QLayout*>()) {
        inner->setContentsMargins(4, 2, 4, 2);
        inner->setSpacing(2);
    }

    connect(m_velocity, &QLineEdit::textEdited, this,
            [this](const QString& t) { act([&] { m_model->SetVelocityText(t); }); });
    connect(m_varu, &QCheckBox::clicked, this, [this](bool c) { act([&] { m_model->SetUseVaru(c); }); });
    connect(m_processing, &QCheckBox::clicked, this, [this](bool c) { act([&] { m_model->SetProcessing(c); }); });
    connect(m_filter, &QCheckBox::clicked, this, [this](bool c) { act([&] { m_model->SetUseFilter(c); }); });
    connect(reset, &QPushButton::clicked, this, [this] { act([&] { m_model->ResetMarkers(); }); });
    setFocusPolicy(Qt::StrongFocus);
    setEnabled(false);
}

QWidget* CPictForm1::makeGraphsGroup() {
    auto* group = new QGroupBox(tr("Отображаемые графики"), this);
    auto* layout = new QVBoxLayout(group);
    m_graphs = MakeList({QStringLiteral("№"), QStringLiteral("Ky"), tr("Значение")}, {30, 30, 90}, group);
    // A heading and a row for each trace a document holds, no more: the panel has to fit a 1280×800
    // screen.
    m_graphs->setMaximumHeight(m_graphs->horizontalHeader()->sizeHint().height() +
                               kPictTraces * m_graphs->verticalHeader()->defaultSectionSize() +
                               2 * m_graphs->frameWidth());
    layout->addWidget(m_graphs);
    m_note = new QLabel(group);
    m_note->setWordWrap(true);
    m_note->hide();
    layout->addWidget(m_note);
    // The in-place editor of a "Ky" cell.
    m_kyEditor = new QLineEdit(m_graphs->viewport());
    m_kyEditor->hide();
    connect(m_graphs, &QTableWidget::cellClicked, this, &CPictForm1::openKyEditor);
    connect(m_kyEditor, &QLineEdit::returnPressed, this, &CPictForm1::finishKyEdit);
    connect(m_graphs, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (m_refreshing || item->column() != kColumnNumber)
            return;
        const int row = item->row();
        const bool shown = item->checkState() == Qt::Checked;
        act([&] { m_model->SetShown(row, shown); });
    });
    connect(m_graphs->horizontalHeader(), &QHeaderView::sectionClicked, this, &CPictForm1::headerClicked);
    return group;
}

QWidget* CPictForm1::makeMarkerGroup() {
    auto* group = new QGroupBox(tr("Свойства маркеров"), this);
    auto* layout = new QVBoxLayout(group);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(new QLabel(tr("Графика № : "), group));
    m_graphNumber = new QSpinBox(group);
    m_graphNumber->setRange(1, 2);
    numberRow->addWidget(m_graphNumber);
    layout->addLayout(numberRow);
    // The caption is wider than the panel: it wraps, its field beside it.
    auto* vicinityRow = new QHBoxLayout;
    auto* vicinityLabel = new QLabel(tr("Окрестность поиска экстремума, м: "), group);
    vicinityLabel->setWordWrap(true);
    vicinityRow->addWidget(vicinityLabel, 1);
    m_vicinity = new QLineEdit(kStartVicinityText, group);
    m_vicinity->setMaximumWidth(m_vicinity->fontMetrics().horizontalAdvance(QStringLiteral("0000.000")) + 12);
    vicinityRow->addWidget(m_vicinity);
    layout->addLayout(vicinityRow);
    auto* search = new QGroupBox(tr("Поиск экстремума"), group);
    // Two a row: the panel's height is scarcer than its width.
    auto* searchLayout = new QGridLayout(search);
    m_searchModes = new QButtonGroup(this);
    const QString captions[] = {tr("По максимуму"), tr("По минимуму"), tr("По абсолютному \nмаксимуму")};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(captions[i], search);
        m_searchModes->addButton(radio, i);
        searchLayout->addWidget(radio, i / 2, i % 2);
    }
    m_searchModes->button(0)->setChecked(true);
    layout->addWidget(search);
    connect(m_graphNumber, &QSpinBox::valueChanged, this, [this](int n) {
        if (!m_refreshing)
            act([&] { m_model->SetGraphNumber(n); });
    });
    connect(m_vicinity, &QLineEdit::textEdited, this,
            [this](const QString& t) { act([&] { m_model->SetVicinityText(t); }); });
    connect(m_searchModes, &QButtonGroup::idClicked, this,
            [this](int id) { act([&] { m_model->SetSearchMode(static_cast<dsp::ExtremumMode>(id)); }); });
    return group;
}

QWidget* CPictForm1::makeAxisGroup() {
    auto* group = new QGroupBox(tr("Параметры оси X"), this);
    auto* layout = new QVBoxLayout(group);
    auto* units = new QGroupBox(tr("Единицы измерения"), group);
    auto* unitsLayout = new QHBoxLayout(units);
    m_timeUnits = new QRadioButton(tr("Время (ms)"), units);
    m_lengthUnits = new QRadioButton(tr("Длина (m)"), units);
    m_timeUnits->setChecked(true);
    unitsLayout->addWidget(m_timeUnits);
    unitsLayout->addWidget(m_lengthUnits);
    layout->addWidget(units);
    auto* bounds = new QGroupBox(tr("Границы"), group);
    auto* boundsLayout = new QHBoxLayout(bounds);
    boundsLayout->addWidget(new QLabel(tr("От:"), bounds));
    m_lower = new QLineEdit(kStartLowerText, bounds);
    boundsLayout->addWidget(m_lower);
    boundsLayout->addWidget(new QLabel(tr("До:"), bounds));
    m_upper = new QLineEdit(bounds);
    boundsLayout->addWidget(m_upper);
    layout->addWidget(bounds);
    auto* zero = new QPushButton(tr("Установить ноль"), group);
    auto* restore = new QPushButton(tr("Восстановить границы"), group);
    layout->addWidget(zero);
    layout->addWidget(restore);
    connect(m_timeUnits, &QRadioButton::clicked, this, [this] { act([&] { m_model->SetTimeUnits(true); }); });
    connect(m_lengthUnits, &QRadioButton::clicked, this, [this] { act([&] { m_model->SetTimeUnits(false); }); });
    // A bound is applied when the user has finished typing it (Enter or leaving the field).
    connect(m_lower, &QLineEdit::editingFinished, this, [this] {
        if (m_lower->isModified())
            act([&] { m_model->SetLowerText(m_lower->text()); });
        m_lower->setModified(false);
    });
    connect(m_upper, &QLineEdit::editingFinished, this, [this] {
        if (m_upper->isModified())
            act([&] { m_model->SetUpperText(m_upper->text()); });
        m_upper->setModified(false);
    });
    connect(zero, &QPushButton::clicked, this, [this] { act([&] { m_model->SetZero(); }); });
    connect(restore, &QPushButton::clicked, this, [this] { act([&] { m_model->RestoreBounds(); }); });
    return group;
}

void CPictForm1::Attach(PictPanelModel& model) {
    m_model = &model;
}

void CPictForm1::act(const std::function<void()>& call) {
    if (!m_model || m_refreshing)
        return;
    call();
    emit changed();
}

void CPictForm1::openKyEditor(int row, int column) {
    if (!m_model || column != kColumnKy || m_model->SpectrumColumns())
        return;
    m_kyRow = row;
    const QRect cell = m_graphs->visualItemRect(Cell(m_graphs, row, column));
    m_kyEditor->setGeometry(cell);
    m_kyEditor->setText(Cell(m_graphs, row, column)->text());
    m_kyEditor->show();
    m_kyEditor->setFocus();
}

void CPictForm1::finishKyEdit() {
    if (!m_model || m_kyRow < 0)
        return;
    // A refused text keeps the editor open for another try.
    if (!m_model->EditKy(m_kyRow, m_kyEditor->text()))
        return;
    m_kyEditor->hide();
    m_kyRow = -1;
    emit changed();
}

void CPictForm1::headerClicked(int column) {
    const GraphColumn which = column == 0 ? GraphColumn::Number
                              : (column == 1 && !m_model->SpectrumColumns()) ? GraphColumn::Ky
                                                                             : GraphColumn::Value;
    act([&] { m_model->HeaderClicked(which); });
}

void CPictForm1::Refresh(bool loaded) {
    setEnabled(loaded);
    if (!m_model || !loaded)
        return;
    m_refreshing = true;
    const auto& rows = m_model->Rows();
    const bool spectrum = m_model->SpectrumColumns();
    m_graphs->setColumnCount(spectrum ? 2 : 3);
    if (spectrum) {
        m_graphs->setHorizontalHeaderLabels({QStringLiteral("№"), tr("Значение")});
        m_graphs->setColumnWidth(1, 58);
    } else {
        m_graphs->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Ky"), tr("Значение")});
    }
    m_graphs->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const GraphRow& row = rows[std::size_t(r)];
        QTableWidgetItem* number = Cell(m_graphs, r, 0);
        number->setText(QString::number(r + 1));
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        number->setCheckState(row.checked ? Qt::Checked : Qt::Unchecked);
        if (spectrum) {
            Cell(m_graphs, r, 1)->setText(row.value);
        } else {
            Cell(m_graphs, r, 1)->setText(row.ky);
            Cell(m_graphs, r, 2)->setText(row.value);
        }
    }
    const QString note = m_model->TracesNote();
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
    m_time->setText(m_model->TimeReadout());
    m_length->setText(m_model->LengthReadout());
    m_delta->setText(m_model->DeltaReadout());
    if (!m_velocity->hasFocus())
        m_velocity->setText(m_model->VelocityText());
    if (!m_vicinity->hasFocus())
        m_vicinity->setText(m_model->VicinityText());
    const auto showSwitch = [](QCheckBox* box, SwitchState s) {
        box->setChecked(s.checked);
        box->setEnabled(s.enabled);
    };
    showSwitch(m_varu, m_model->Varu());
    showSwitch(m_processing, m_model->Processing());
    showSwitch(m_filter, m_model->Filter());
    m_graphNumber->setValue(m_model->GraphNumber());
    if (!m_lower->isModified())
        m_lower->setText(m_model->LowerText());
    if (!m_upper->isModified())
        m_upper->setText(m_model->UpperText());
    m_refreshing = false;
}

void CPictForm1::ShowLengths(const LengthsList& lengths) {
    m_lengths->setRowCount(kLengthsListRows);
    for (int r = 0; r < kLengthsListRows; ++r) {
        Cell(m_lengths, r, 0)->setText(lengths.numbers[std::size_t(r)]);
        Cell(m_lengths, r, 1)->setText(lengths.texts[std::size_t(r)]);
    }
}

} // namespace zarno
