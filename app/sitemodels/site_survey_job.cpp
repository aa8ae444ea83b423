#include "app/sitemodels/site_survey_job.h"

#include "app/site/analysis_search.h"

namespace zarno::site {

SiteSurveyJob::SiteSurveyJob(QObject* parent) : QObject(parent) {
    qRegisterMetaType<zarno::site::SiteResult>("zarno::site::SiteResult");
}

SiteSurveyJob::~SiteSurveyJob() {
    cancel();
    wait();
}

bool SiteSurveyJob::start(const QString& folder, const SiteOptions& options) {
    return start(folder, options, ProgramBlowSearch(), ProgramToeSearch());
}

bool SiteSurveyJob::start(const QString& folder, const SiteOptions& options, BlowSearch findBlow, ToeSearch findToe) {
    if (running())
        return false;
    wait();
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    m_cancelled = cancelled;
    // Once cancelled, every blow is "not seen": the survey still walks its piles (cheap without a
    // blow) but stacks and searches nothing.
    BlowSearch blow = [cancelled, findBlow = std::move(findBlow)](std::span<const double> trace) {
        return cancelled->load() ? BlowMark{} : findBlow(trace);
    };
    m_thread.reset(QThread::create([this, folder, options, cancelled, blow, findToe = std::move(findToe)] {
        SiteResult result = SurveySite(folder, options, blow, findToe, [this, cancelled](int done, int total) {
            if (!cancelled->load())
                QMetaObject::invokeMethod(this, [this, done, total] { emit progress(done, total); },
                                          Qt::QueuedConnection);
        });
        if (cancelled->load())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, cancelled, result = std::move(result)] {
                if (!cancelled->load())
                    emit finished(result);
            },
            Qt::QueuedConnection);
    }));
    m_thread->start();
    return true;
}

void SiteSurveyJob::cancel() {
    if (m_cancelled)
        m_cancelled->store(true);
}

bool SiteSurveyJob::running() const {
    return m_thread && m_thread->isRunning();
}

void SiteSurveyJob::wait() {
    if (m_thread)
        m_thread->wait();
}

} // namespace zarno::site
