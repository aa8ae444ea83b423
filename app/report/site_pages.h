#pragma once
// The site's PDF: a summary (the wave speed and where it came from, the piles left out of its
// calibration, the table of piles, continued over as many pages as it needs), then the averaged
// traces of the piles stacked several to a page, aligned at the blow, with the toe and the anomalies
// marked. The whole document is made in memory and written all or nothing.

#include "app/i18n/translation.h"
#include "app/site/site_survey.h"

#include <QByteArray>
#include <QString>

namespace zarno {

// The PDF of a surveyed site in language; title names the site (its folder). Empty when the PDF could
// not be made.
QByteArray SitePdf(const site::SiteResult& site, const QString& title, Language language = CurrentLanguage());

// Writes SitePdf to path, all or nothing. False when it could not be made or written.
bool WriteSitePdf(const site::SiteResult& site, const QString& title, const QString& path,
                  Language language = CurrentLanguage());

} // namespace zarno
