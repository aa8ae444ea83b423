#include "app/ui/viewer/property_sheet_sgy.h"

#include "app/viewer/pict_doc.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zarno {

namespace {

QTableWidget* MakeRowList(int labelWidth, int valueWidth, QWidget* parent) {
    auto* list = new QTableWidget(0, 2, parent);
    list->setHorizontalHeaderLabels(
        {CPropertySheetSGY::tr("Поле заголовка"), CPropertySheetSGY::tr("Значение")});
    list->setColumnWidth(0, labelWidth);
    list->setColumnWidth(1, valueWidth);
    list->verticalHeader()->hide();
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setShowGrid(true);
    return list;
}

// Rows with their labels; values only when known.
void FillRows(QTableWidget* list, const std::vector<SGYHeaderRow>& rows, bool withValues) {
    list->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const SGYHeaderRow& row = rows[std::size_t(r)];
        list->setItem(r, 0, new QTableWidgetItem(row.label));
        list->setItem(r, 1, new QTableWidgetItem(withValues ? QString::number(row.value) : QString()));
    }
}

} // namespace

CPropertySheetSGY::CPropertySheetSGY(const QString& path, Prompts& prompts, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("SGY"));
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    layout->addWidget(m_pages);
    const bool opened = m_source.Open(path, prompts);
    m_pages->addTab(makePage1(), tr("Заголовок SGY файла"));
    m_pages->addTab(makePage2(), tr("Заголовок трассы"));
    if (opened) {
        m_text->setPlainText(m_source.Text());
        m_headerNotes->setText(m_source.Notes().join(QLatin1Char('\n')));
        m_headerNotes->setVisible(!m_source.Notes().isEmpty());
        FillRows(m_binary, m_source.BinaryRows(), m_source.BinaryValid());
        ShowTrace(QStringLiteral("1"));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(720, 640);
}

QWidget* CPropertySheetSGY::makePage1() {
    auto* page = new QWidget(m_pages);
    auto* layout = new QVBoxLayout(page);
    m_text = new QPlainTextEdit(page);
    m_text->setReadOnly(true);
    // The standard's 80-character cards line up only in a fixed-width font.
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_text);
    m_headerNotes = new QLabel(page);
    m_headerNotes->setWordWrap(true);
    m_headerNotes->setVisible(false);
    layout->addWidget(m_headerNotes);
    m_binary = MakeRowList(300, 186, page);
    layout->addWidget(m_binary, 1);
    return page;
}

QWidget* CPropertySheetSGY::makePage2() {
    auto* page = new QWidget(m_pages);
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Номер трассы"), page));
    m_number = new QSpinBox(page);
    m_number->setRange(1, std::max(m_source.TraceCount(), 1));
    if (auto* edit = m_number->findChild<QLineEdit*>())
        edit->setMaxLength(7);
    row->addWidget(m_number);
    row->addStretch(1);
    layout->addLayout(row);
    // The viewer itself shows two traces at most; the header viewer shows every trace of the file.
    m_note = new QLabel(page);
    if (m_source.TraceCount() > kPictTraces)
        m_note->setText(tr("В окне сигналов показаны трассы 1 и 2 из %1").arg(m_source.TraceCount()));
    m_note->setVisible(!m_note->text().isEmpty());
    layout->addWidget(m_note);
    m_trace = MakeRowList(380, 85, page);
    FillRows(m_trace, SGYTraceHeaderRows(SGYTraceHeader{}), false);
    layout->addWidget(m_trace, 1);
    connect(m_number, &QSpinBox::textChanged, this, &CPropertySheetSGY::ShowTrace);
    return page;
}

void CPropertySheetSGY::ShowTrace(const QString& text) {
    const auto rows = m_source.TraceRows(TraceIndexOfText(text));
    if (rows) {
        FillRows(m_trace, *rows, true);
        return;
    }
    // Past the traces the file holds: the labels stay, the values are left empty.
    for (int r = 0; r < m_trace->rowCount(); ++r)
        m_trace->setItem(r, 1, new QTableWidgetItem(QString()));
}

} // namespace zarno
