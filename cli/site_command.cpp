// zarno-cli site: a whole site folder made into one table, and with -o its "site.csv" and "site.pdf"
// (--report-lang: the PDF in that language and the CSV in the separators of its spreadsheets).

#include "cli/commands.h"
#include "cli/gui_application.h"
#include "cli/terminal_progress.h"

#include "app/i18n/translation.h"
#include "app/io/whole_file.h"
#include "app/report/site_pages.h"
#include "app/site/analysis_search.h"
#include "app/site/site_outputs.h"
#include "app/site/site_survey.h"
#include "app/site/site_table.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>

namespace zarno::cli {

namespace {

constexpr char kSiteUsage[] = "usage: zarno-cli site [-o OUTDIR] [--velocity V] [--min-correlation C] "
                              "[--strong-anomaly S] [--json] [--report-lang ru|en] DIR\n";

struct SiteRequest {
    QString folder;
    QString outputDir;
    bool json = false;
    Language language = CurrentLanguage(); // the PDF's texts, the CSV's separators and decimal mark
    site::SiteOptions options;
};

std::optional<double> Number(const QString& text, double min, double max) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) && v >= min && v <= max ? std::optional(v) : std::nullopt;
}

std::optional<SiteRequest> Parse(const QStringList& args) {
    SiteRequest r;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--json") {
            r.json = true;
        } else if (a == "-o" && hasValue) {
            r.outputDir = args[++i];
        } else if (a == "--velocity" && hasValue) {
            r.options.velocity = Number(args[++i], site::kLowestSiteVelocity, site::kHighestSiteVelocity);
            if (!r.options.velocity)
                return std::nullopt;
        } else if (a == "--report-lang" && hasValue) {
            const std::optional<Language> language = ParseLanguageCode(args[++i]);
            if (!language)
                return std::nullopt;
            r.language = *language;
        } else if (a == "--min-correlation" && hasValue) {
            const auto c = Number(args[++i], -1.0, 1.0);
            if (!c)
                return std::nullopt;
            r.options.stack.minCorrelation = *c;
        } else if (a == "--strong-anomaly" && hasValue) {
            const auto s = Number(args[++i], 0.0, 1e3);
            if (!s)
                return std::nullopt;
            r.options.classes.strongAnomaly = *s;
        } else if (a.startsWith('-') || !r.folder.isEmpty()) {
            return std::nullopt;
        } else {
            r.folder = a;
        }
    }
    if (r.folder.isEmpty())
        return std::nullopt;
    return r;
}

// The summary table goes where the engineer asked, but never into the site's folder: there it
// would replace the site's own table (the engineer's description of the piles and decisions), or,
// beside a table named in another case or in a folder without one, be read as the table next time.
bool IntoTheSiteFolder(const SiteRequest& r) {
    const QString site = QFileInfo(r.folder).canonicalFilePath();
    return !site.isEmpty() && site == QFileInfo(r.outputDir).canonicalFilePath();
}

bool WriteOutputs(const SiteRequest& r, const site::SiteResult& result) {
    if (IntoTheSiteFolder(r)) {
        const QString target = QDir(r.outputDir).filePath(QString::fromLatin1(site::kSiteTableName));
        const bool hasTable = QFileInfo::exists(site::SiteTablePath(r.folder));
        PrintError((hasTable ? QStringLiteral("%1 would replace the site's own %2: choose another output folder")
                             : QStringLiteral("%1 would be read as the site's own %2: choose another output folder"))
                       .arg(target, QString::fromLatin1(site::kSiteTableName)));
        return false;
    }
    if (!QDir().mkpath(r.outputDir)) {
        PrintError(QStringLiteral("cannot create the folder %1").arg(r.outputDir));
        return false;
    }
    const QDir out(r.outputDir);
    const QString csv = out.filePath(QString::fromLatin1(site::kSiteTableName));
    const QString pdf = out.filePath(QStringLiteral("site.pdf"));
    bool ok = true;
    if (io::WriteWholeFile(csv, site::SiteCsv(result, r.language)) != io::WholeFileResult::Written) {
        PrintError(QStringLiteral("cannot write %1").arg(csv));
        ok = false;
    }
    const auto app = GuiApplicationIfNone();
    const QString title = QFileInfo(r.folder).absoluteFilePath();
    if (!WriteSitePdf(result, title, pdf, r.language)) {
        PrintError(QStringLiteral("cannot write %1").arg(pdf));
        ok = false;
    }
    return ok;
}

} // namespace

int RunSiteCommand(const QStringList& args) {
    const auto request = Parse(args);
    if (!request) {
        std::fputs(kSiteUsage, stderr);
        return kExitUsage;
    }
    TerminalProgress bar(QStringLiteral("piles"));
    const site::SiteResult result = site::SurveySite(
        request->folder, request->options, site::ProgramBlowSearch(), site::ProgramToeSearch(),
        [&bar](int done, int total) {
            bar.setRange(total);
            bar.setValue(done);
        });
    for (const QString& m : result.messages)
        PrintError(m);
    if (!result.readable)
        return kExitFailed;
    const QByteArray text = request->json ? site::SiteJson(result) : site::SiteTableText(result);
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stdout);
    if (!request->outputDir.isEmpty() && !WriteOutputs(*request, result))
        return kExitFailed;
    return kExitOk;
}

} // namespace zarno::cli
