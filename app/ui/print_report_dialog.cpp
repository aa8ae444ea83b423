#include "app/ui/print_report_dialog.h"

#include "app/i18n/texts.h"
#include "app/i18n/translation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zarno {

CPrintReport::CPrintReport(QWidget* parent)
    : QDialog(parent), m_state(DialogStartState(ReportSettings{}, CurrentLanguage())) {
    setWindowTitle(QCoreApplication::translate("zarno", "Настройка отчёта"));
    auto* layout = new QVBoxLayout(this);

    auto* commentGroup = new QGroupBox(QCoreApplication::translate("zarno", "Текст оператора"), this);
    auto* commentLayout = new QVBoxLayout(commentGroup);
    m_comment = new QPlainTextEdit(commentGroup);
    m_comment->setObjectName(QStringLiteral("1089"));
    commentLayout->addWidget(m_comment);
    layout->addWidget(commentGroup);

    auto* printGroup =
        new QGroupBox(QCoreApplication::translate("zarno", "Параметры, выводимые на печать"), this);
    auto* printLayout = new QVBoxLayout(printGroup);
    layout->addWidget(printGroup);
    const struct {
        int id;
        const char* text;
        bool ReportDialogState::*field;
    } checks[] = {
        {1090, QT_TRANSLATE_NOOP("zarno", "Имя файла"), &ReportDialogState::fileName},
        {1091, QT_TRANSLATE_NOOP("zarno", "Скорость продольной волны в свае"), &ReportDialogState::velocity},
        {1099, QT_TRANSLATE_NOOP("zarno", "Расчётная длина сваи"), &ReportDialogState::pileLength},
        {1092, QT_TRANSLATE_NOOP("zarno", "Список длин"), &ReportDialogState::lengths},
        {1093, QT_TRANSLATE_NOOP("zarno", "Текст оператора"), &ReportDialogState::operatorText},
        {1095, QT_TRANSLATE_NOOP("zarno", "Время создания 'SGY' файла"), &ReportDialogState::time},
        {1094, QT_TRANSLATE_NOOP("zarno", "Сохранить отчёт в файле"), &ReportDialogState::saveToFile},
    };
    for (const auto& c : checks)
        printLayout->addWidget(AddCheck(c.id, Translated(c.text), c.field));
    m_reportFileName = new QLineEdit(printGroup);
    m_reportFileName->setObjectName(QStringLiteral("1096"));
    printLayout->addWidget(m_reportFileName);

    AddLanguageChoice(layout);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_comment, &QPlainTextEdit::textChanged, this, [this] { m_state.comment = m_comment->toPlainText(); });
    connect(m_reportFileName, &QLineEdit::textEdited, this, [this](const QString& t) { m_state.reportFileName = t; });
    Show();
}

QCheckBox* CPrintReport::AddCheck(int id, const QString& text, bool ReportDialogState::*field) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::number(id));
    connect(box, &QCheckBox::clicked, this, [this, field](bool checked) {
        m_state.*field = checked;
        UpdateEnabling();
    });
    m_checks.emplace_back(box, field);
    return box;
}

// The report may be made in the other language than the program's, for a reader of that one.
void CPrintReport::AddLanguageChoice(QBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("Язык отчёта:"), this);
    m_language = new QComboBox(this);
    m_language->setObjectName(QStringLiteral("reportLanguage"));
    m_language->addItem(tr("Русский"), int(Language::Russian));
    m_language->addItem(QStringLiteral("English"), int(Language::English));
    label->setBuddy(m_language);
    row->addWidget(label);
    row->addWidget(m_language, 1);
    layout->addLayout(row);
    connect(m_language, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_state.language = Language(m_language->itemData(index).toInt()); });
}

void CPrintReport::Start(const ReportSettings& settings) {
    m_state = DialogStartState(settings, CurrentLanguage());
    Show();
}

void CPrintReport::Show() {
    const ReportDialogState state = m_state; // setting the widgets' texts reports back into m_state
    m_comment->setPlainText(state.comment);
    m_reportFileName->setText(state.reportFileName);
    for (const auto& [box, field] : m_checks)
        box->setChecked(state.*field);
    m_language->setCurrentIndex(m_language->findData(int(state.language)));
    m_state = state;
    UpdateEnabling();
}

void CPrintReport::UpdateEnabling() {
    m_comment->setEnabled(m_state.CommentEditEnabled());
    m_reportFileName->setEnabled(m_state.ReportFileNameEditEnabled());
}

} // namespace zarno
