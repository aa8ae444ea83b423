#pragma once
// A site surveyed off the window's thread: the recordings are read and stacked in a thread of the
// job's own, the progress and the result come back to the thread that started it. Cancelling makes
// the finders answer "no blow" at once, so the remaining piles go by quickly, and the result is
// dropped. The job waits for its thread when it goes, so nothing outlives the window.

#include "app/site/site_survey.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

namespace zarno::site {

class SiteSurveyJob : public QObject {
    Q_OBJECT
public:
    explicit SiteSurveyJob(QObject* parent = nullptr);
    ~SiteSurveyJob() override;

    // Starts a survey of folder with the program's finders; false while one is running.
    bool start(const QString& folder, const SiteOptions& options);
    // The same with the given finders (the tests' stand-ins).
    bool start(const QString& folder, const SiteOptions& options, BlowSearch findBlow, ToeSearch findToe);
    void cancel();
    bool running() const;
    // Blocks until the thread has ended (the result is still delivered through the event loop).
    void wait();

signals:
    void progress(int done, int total);
    // Not sent for a cancelled survey.
    void finished(const zarno::site::SiteResult& site);

private:
    std::unique_ptr<QThread> m_thread;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};

} // namespace zarno::site
