#pragma once
// The site window's two drawings, made by the same painters as the site's PDF so that the screen
// and the paper show a pile alike: one pile's averaged trace with its blows faint behind it and the
// toe and anomalies marked, and all piles stacked, aligned at the blow, in metres.

#include "app/site/site_survey.h"

#include <QWidget>

#include <optional>

namespace zarno {

class CPileTraceView : public QWidget {
    Q_OBJECT
public:
    explicit CPileTraceView(QWidget* parent = nullptr);
    // The pile is copied: the view keeps what it shows. Null shows nothing.
    void setPile(const site::PileResult* pile, std::optional<double> velocity);
    const std::optional<site::PileResult>& pile() const { return m_pile; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<site::PileResult> m_pile;
    std::optional<double> m_velocity;
};

class CStackedPilesView : public QWidget {
    Q_OBJECT
public:
    explicit CStackedPilesView(QWidget* parent = nullptr);
    void setSite(const site::SiteResult& site);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double stripHeightPx() const;

    site::SiteResult m_site;
};

} // namespace zarno
