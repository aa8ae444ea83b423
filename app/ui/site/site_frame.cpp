#include "app/ui/site/site_frame.h"

#include "app/report/site_pages.h"
#include "app/seams/prompts.h"
#include "app/site/site_outputs.h"
#include "app/sitemodels/pile_table_model.h"
#include "app/sitemodels/site_survey_job.h"
#include "app/ui/site/pile_views.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace zarno {

namespace {

// The narrowest window that shows the table and the pile's trace side by side.
constexpr int kBesideWidth = 1000;

// Enter on the table opens the current pile; every other key is the table's.
class PileTable : public QTableView {
public:
    PileTable(std::function<void()> open, QWidget* parent) : QTableView(parent), m_open(std::move(open)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
            m_open();
            return;
        }
        QTableView::keyPressEvent(event);
    }

private:
    std::function<void()> m_open;
};

// The table's marks: the rows that need a look on a pale amber that keeps the text dark on the light
// styles; the engineer's decisions in bold, apart from what was measured.
class MarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(site::PileTableModel::NeedsLookRole).toBool())
            option->backgroundBrush = QColor(255, 228, 181);
        if (index.data(site::PileTableModel::DecidedRole).toBool())
            option->font.setBold(true);
    }
};

} // namespace

CSiteFrame::CSiteFrame(const QString& folder, Prompts& prompts, QWidget* parent)
    : QMdiSubWindow(parent), m_folder(QDir::cleanPath(QFileInfo(folder).absoluteFilePath())), m_prompts(prompts),
      m_job(new site::SiteSurveyJob(this)), m_model(new site::PileTableModel(this)),
      m_sorted(new site::PileSortModel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Объект: %1").arg(QDir::toNativeSeparators(m_folder)));
    m_sorted->setSourceModel(m_model);
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(4, 4, 4, 4);
    buildTop(client);
    buildPages(client);
    setWidget(client);
    connect(m_job, &site::SiteSurveyJob::progress, this, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
    });
    connect(m_job, &site::SiteSurveyJob::finished, this, [this](const site::SiteResult& site) {
        m_surveyed = site;
        showSite(m_handVelocity ? site::ApplySiteVelocity(site, m_handVelocity, m_options) : site);
    });
    m_model->setDecisionStore([this](const QString& pile, const site::PileDecision& decision, QString* error) {
        return site::StoreDecision(m_folder, pile, decision, error);
    });
    connect(m_model, &site::PileTableModel::decisionStored, this, &CSiteFrame::keepDecision);
    connect(m_model, &site::PileTableModel::decisionRefused, this, [this](const QString& reason) {
        m_prompts.message(reason, windowTitle(), PromptIcon::Warning);
    });
}

void CSiteFrame::keepDecision(const QString& pile, const site::PileDecision& decision) {
    // The decision stands whatever the speed: it goes into the survey's result too, which a new
    // speed starts from.
    for (site::SiteResult* site : {&m_surveyed, &m_site})
        for (site::PileResult& p : site->piles)
            if (p.pile == pile) {
                p.decidedLengthM = decision.lengthM;
                p.decidedClass = decision.cls;
            }
    m_stackedView->setSite(m_site);
    currentRowChanged();
}

bool CSiteFrame::DecideLength(const QString& pile, double lengthM) {
    for (const site::PileResult& p : m_site.piles)
        if (p.pile == pile)
            return m_model->storeDecision(pile, site::PileDecision{lengthM, p.decidedClass});
    return false;
}

CSiteFrame::~CSiteFrame() = default;

void CSiteFrame::buildTop(QWidget* client) {
    auto* top = new QHBoxLayout;
    m_velocityLabel = new QLabel(client);
    m_velocityLabel->setWordWrap(true);
    m_velocityLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(m_velocityLabel, 1);
    top->addWidget(new QLabel(tr("Скорость, м/с:"), client));
    m_velocityField = new QLineEdit(client);
    m_velocityField->setObjectName(QStringLiteral("velocityField"));
    m_velocityField->setPlaceholderText(tr("по калибровке"));
    m_velocityField->setToolTip(tr("Скорость волны на объекте; пустое поле — скорость по сваям известной длины"));
    // Room for the placeholder, which says where the speed comes from when none is typed.
    m_velocityField->setMinimumWidth(fontMetrics().horizontalAdvance(m_velocityField->placeholderText() + QStringLiteral("00")));
    m_velocityField->setMaximumWidth(m_velocityField->minimumWidth());
    connect(m_velocityField, &QLineEdit::editingFinished, this, &CSiteFrame::applyVelocityField);
    top->addWidget(m_velocityField);
    m_reportButton = new QPushButton(tr("Печатать отчёт по объекту"), client);
    connect(m_reportButton, &QPushButton::clicked, this, &CSiteFrame::askReportPath);
    top->addWidget(m_reportButton);
    m_progress = new QProgressBar(client);
    m_progress->setFormat(tr("Сваи: %v из %m"));
    m_progress->setMaximumWidth(220);
    top->addWidget(m_progress);
    m_cancel = new QPushButton(tr("Отменить"), client);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_job->cancel();
        m_progress->hide();
        m_cancel->hide();
        m_velocityLabel->setText(tr("Расчёт объекта отменён."));
    });
    top->addWidget(m_cancel);
    static_cast<QVBoxLayout*>(client->layout())->addLayout(top);
}

void CSiteFrame::buildPages(QWidget* client) {
    m_pages = new QTabWidget(client);
    auto* splitter = new QSplitter(Qt::Horizontal, m_pages);
    m_split = splitter;
    auto* table = new PileTable([this] { OpenCurrentPile(); }, splitter);
    m_table = table;
    m_table->setModel(m_sorted);
    m_table->setItemDelegate(new MarkDelegate(m_table));
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(site::PileTableModel::Pile, Qt::AscendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!(m_sorted->flags(index) & Qt::ItemIsEditable))
            OpenCurrentPile();
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CSiteFrame::currentRowChanged);
    m_traceView = new CPileTraceView(splitter);
    splitter->addWidget(m_table);
    splitter->addWidget(m_traceView);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    m_pages->addTab(splitter, tr("Сваи"));

    auto* scroll = new QScrollArea(m_pages);
    scroll->setWidgetResizable(true);
    m_stackedView = new CStackedPilesView(scroll);
    scroll->setWidget(m_stackedView);
    m_pages->addTab(scroll, tr("Все сваи"));
    client->layout()->addWidget(m_pages);
}

void CSiteFrame::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    // A trace reads along its length: beside the table while the window is wide, under it when the
    // window shares the screen with the file manager.
    m_split->setOrientation(width() >= kBesideWidth ? Qt::Horizontal : Qt::Vertical);
}

void CSiteFrame::Survey() {
    if (!m_job->start(m_folder, m_options))
        return;
    m_progress->setRange(0, 0);
    m_progress->show();
    m_cancel->show();
    m_reportButton->setEnabled(false);
    m_velocityLabel->setText(tr("Идёт расчёт объекта…"));
}

bool CSiteFrame::surveying() const {
    return m_job->running();
}

void CSiteFrame::showSite(const site::SiteResult& site) {
    m_site = site;
    m_progress->hide();
    m_cancel->hide();
    m_reportButton->setEnabled(site.readable);
    const QString current = currentPile() ? currentPile()->pile : QString();
    m_model->setSite(m_site);
    m_table->resizeColumnsToContents();
    m_stackedView->setSite(m_site);
    showVelocity();
    // The same pile stays selected across a new speed; the first row at the start.
    int row = 0;
    for (int r = 0; r < m_sorted->rowCount(); ++r)
        if (m_sorted->index(r, 0).data().toString() == current)
            row = r;
    if (m_sorted->rowCount() > 0)
        m_table->setCurrentIndex(m_sorted->index(row, 0));
    currentRowChanged();
    if (!site.readable)
        m_prompts.message(tr("Не удалось прочитать объект:\n%1").arg(site.messages.join('\n')), windowTitle(),
                          PromptIcon::Warning);
    emit surveyed();
}

void CSiteFrame::showVelocity() {
    const site::SiteVelocity& v = m_site.velocity;
    QString text;
    switch (v.source) {
    case site::VelocitySource::Given:
        text = tr("Скорость %1 м/с задана вручную").arg(QString::number(*v.value, 'f', 0));
        if (v.calibration.value)
            text += tr(" (по калибровке %1 м/с)").arg(QString::number(*v.calibration.value, 'f', 0));
        break;
    case site::VelocitySource::Calibrated:
        text = tr("Скорость %1 м/с по сваям известной длины: %2")
                   .arg(QString::number(*v.value, 'f', 0))
                   .arg(QStringList(v.calibration.used.begin(), v.calibration.used.end()).join(QStringLiteral(", ")));
        break;
    case site::VelocitySource::None:
        text = tr("Скорость не известна: нет свай известной длины. Задайте её вручную.");
        break;
    }
    QStringList excluded;
    for (const site::ExcludedSpeed& e : v.calibration.excluded)
        excluded << tr("%1 (%2 м/с, %3%)")
                        .arg(e.pile)
                        .arg(QString::number(e.velocity, 'f', 0))
                        .arg(NumberIn(CurrentLanguage(), site::RoundedForText(e.deviationPct, 1), 1));
    if (!excluded.isEmpty())
        text += '\n' + tr("Исключены из калибровки: %1").arg(excluded.join(QStringLiteral(", ")));
    for (const QString& w : v.calibration.warnings)
        text += '\n' + w;
    m_velocityLabel->setText(text);
}

void CSiteFrame::applyVelocityField() {
    QString text = m_velocityField->text().trimmed();
    if (text.isEmpty()) {
        if (m_handVelocity)
            SetVelocity(std::nullopt);
        return;
    }
    text.replace(',', '.');
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !(v >= site::kLowestSiteVelocity && v <= site::kHighestSiteVelocity)) {
        m_prompts.message(tr("Скорость задаётся числом в м/с, например 3800."), windowTitle(), PromptIcon::Warning);
        return;
    }
    if (m_handVelocity != v)
        SetVelocity(v);
}

void CSiteFrame::SetVelocity(std::optional<double> velocity) {
    m_handVelocity = velocity;
    if (m_velocityField->text().trimmed().isEmpty() != !velocity)
        m_velocityField->setText(velocity ? QString::number(*velocity) : QString());
    if (surveying())
        return; // the survey's result takes the speed when it comes
    showSite(site::ApplySiteVelocity(m_surveyed, velocity, m_options));
}

const site::PileResult* CSiteFrame::currentPile() const {
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? m_model->pileAt(m_sorted->mapToSource(current).row()) : nullptr;
}

void CSiteFrame::currentRowChanged() {
    m_traceView->setPile(currentPile(), m_site.velocity.value);
}

void CSiteFrame::OpenCurrentPile() {
    const site::PileResult* pile = currentPile();
    if (!pile || !m_openPile)
        return;
    if (!pile->consistent()) {
        m_prompts.message(tr("У сваи %1 нет согласованных ударов: средней трассы нет.").arg(pile->pile), windowTitle(),
                          PromptIcon::Information);
        return;
    }
    m_openPile(*pile, m_site.velocity.value);
}

void CSiteFrame::askReportPath() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Отчёт по объекту"),
                                                      QDir(m_folder).filePath(QStringLiteral("site.pdf")),
                                                      tr("Документ PDF (*.pdf)"));
    if (!path.isEmpty())
        WriteReport(path);
}

bool CSiteFrame::WriteReport(const QString& path) {
    if (WriteSitePdf(m_site, m_folder, path))
        return true;
    m_prompts.message(tr("Не удалось записать отчёт:\n%1").arg(path), windowTitle(), PromptIcon::Warning);
    return false;
}

} // namespace zarno
