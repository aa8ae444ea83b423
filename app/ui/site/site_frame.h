#pragma once
// CSiteFrame: the site window, an MDI child over one site folder. Above, the site's wave speed with
// its source and the piles left out of its calibration, a field to set the speed by hand, and the
// site report; below, the table of piles beside the selected pile's trace, and a page of all piles
// stacked. The survey runs in the background with a progress bar; the window only shows what the
// site models say.

#include "app/site/site_decisions.h"
#include "app/site/site_survey.h"

#include <QMdiSubWindow>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTableView;

namespace zarno {

class CPileTraceView;
class CStackedPilesView;
class Prompts;

namespace site {
class PileSortModel;
class PileTableModel;
class SiteSurveyJob;
} // namespace site

class CSiteFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CSiteFrame(const QString& folder, Prompts& prompts, QWidget* parent = nullptr);
    ~CSiteFrame() override;

    // Starts the survey of the folder; the table fills when it is done.
    void Survey();
    bool surveying() const;
    // The speed set by hand (none: back to the calibrated one); every length is worked out again.
    void SetVelocity(std::optional<double> velocity);
    // The site report as a PDF at path; the failure is told.
    bool WriteReport(const QString& path);

    const QString& folder() const { return m_folder; }
    const site::SiteResult& site() const { return m_site; }
    QTableView* table() const { return m_table; }
    site::PileTableModel& model() const { return *m_model; }
    QLineEdit* velocityField() const { return m_velocityField; }
    QLabel* velocityLabel() const { return m_velocityLabel; }
    QTabWidget* pages() const { return m_pages; }
    CPileTraceView* traceView() const { return m_traceView; }
    CStackedPilesView* stackedView() const { return m_stackedView; }
    // The pile of the table's current row, if any.
    const site::PileResult* currentPile() const;

    // Where a pile is opened in the signal viewer (Enter or a double click on its row).
    void setPileOpener(std::function<void(const site::PileResult&, std::optional<double> velocity)> open) {
        m_openPile = std::move(open);
    }
    void OpenCurrentPile();
    // The length decided for a pile (the viewer's "length at the marker"), its class kept; stored in
    // the site's table. False when it was refused (told) or no such pile is shown.
    bool DecideLength(const QString& pile, double lengthM);

protected:
    void resizeEvent(QResizeEvent* event) override;

signals:
    // The survey is done and shown (also after a failed one).
    void surveyed();

private:
    void buildTop(QWidget* client);
    void buildPages(QWidget* client);
    void showSite(const site::SiteResult& site);
    void showVelocity();
    void applyVelocityField();
    void currentRowChanged();
    void askReportPath();
    void keepDecision(const QString& pile, const site::PileDecision& decision);

    QString m_folder;
    Prompts& m_prompts;
    site::SiteOptions m_options;
    site::SiteResult m_surveyed; // as surveyed, before a speed set by hand
    site::SiteResult m_site;     // what is shown
    std::optional<double> m_handVelocity;
    site::SiteSurveyJob* m_job = nullptr;
    site::PileTableModel* m_model = nullptr;
    site::PileSortModel* m_sorted = nullptr;
    QLabel* m_velocityLabel = nullptr;
    QLineEdit* m_velocityField = nullptr;
    QPushButton* m_reportButton = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QTabWidget* m_pages = nullptr;
    QSplitter* m_split = nullptr;
    QTableView* m_table = nullptr;
    CPileTraceView* m_traceView = nullptr;
    CStackedPilesView* m_stackedView = nullptr;
    std::function<void(const site::PileResult&, std::optional<double>)> m_openPile;
};

} // namespace zarno
