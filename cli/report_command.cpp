#include "cli/report_command.h"

#include "cli/commands.h"
#include "cli/gui_application.h"
#include "cli/input_files.h"

#include "app/io/whole_file.h"
#include "app/render/graph_setup.h"
#include "app/report/emf_writer.h"
#include "app/report/report_output.h"
#include "app/report/report_picture.h"
#include "app/seams/stderr_prompts.h"
#include "app/viewer/viewer_paint.h"
#include "cli/viewer_options.h"
#include "cli/viewer_session.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>

#include <optional>

namespace zarno::cli {

namespace {

constexpr char kReportUsage[] = "usage: zarno-cli report [--velocity V] [--comment TEXT] [--marker SAMPLE]... "
                                "[--trace N] [--emf] [--report-lang ru|en] -o DIR FILE.sgy...\n";

struct ReportRequest {
    double velocity = 3600.0;
    QString comment;
    std::vector<int> markers;
    int trace = 1;
    bool emf = false;
    Language language = Language::Russian;
    QString outputDir;
    QStringList inputs;
};

std::optional<ReportRequest> Parse(const QStringList& args) {
    const QCommandLineOption comment = ValueOption("comment", "TEXT"), trace = ValueOption("trace", "N");
    const QCommandLineOption emf = FlagOption("emf"), output = ValueOption("o", "DIR");
    QCommandLineParser parser;
    parser.addOptions({comment, trace, emf, output, MarkerOption(), VelocityOption(), ReportLanguageOption()});
    parser.addPositionalArgument("files", "FILE.sgy...");
    if (!ParseCommandLine(parser, args) || parser.positionalArguments().isEmpty() || parser.value(output).isEmpty())
        return std::nullopt;
    ReportRequest r;
    const std::optional<int> n = IntOption(parser, trace, 1, kPictTraces, r.trace);
    const std::optional<std::vector<int>> markers = MarkerOptions(parser);
    const std::optional<double> velocity = VelocityValue(parser);
    const std::optional<Language> language = ReportLanguageValue(parser);
    if (!n || !markers || !velocity || !language)
        return std::nullopt;
    r.language = *language;
    r.trace = *n;
    r.markers = *markers;
    r.velocity = *velocity;
    r.comment = parser.value(comment);
    r.emf = parser.isSet(emf);
    r.outputDir = parser.value(output);
    r.inputs = parser.positionalArguments();
    return r;
}

// One recording as it opens in a new viewer, with the velocity and the markers given, and its graphs.
struct OpenedRecording {
    explicit OpenedRecording(Prompts& prompts) : viewer(prompts) {}
    ViewerSession viewer;
    CGraphScene scene;
};

bool Open(OpenedRecording& r, const QString& path, const ReportRequest& request, Prompts& prompts) {
    if (!r.viewer.Open(path, request.velocity, prompts))
        return false;
    r.viewer.PlaceMarkers(request.markers);
    SetUpGraphs(r.scene, SignalGraphsOf(r.viewer.doc), SpectrumGraphsOf(r.viewer.doc));
    return true;
}

// The settings a new viewer's report dialog confirms unchanged, with the comment given.
ReportSettings SettingsFor(const OpenedRecording& r, const ReportRequest& request) {
    ReportDialogState dialog = DialogStartState(ReportSettings{}, request.language);
    dialog.comment = request.comment;
    ReportSettings settings;
    ApplyReportDialog(settings, dialog, ReportSourceOf(r.viewer.doc, r.viewer.model.Lengths(), request.trace - 1));
    return settings;
}

class ReportRun {
public:
    ReportRun(const ReportRequest& request, QIODevice& err, Prompts& prompts)
        : m_request(request), m_err(err), m_prompts(prompts) {}

    // Draws the page of one file into draw(settings, picture); false when it could not be made.
    template <typename Draw> bool Page(qsizetype index, const PageMetrics& page, Draw draw) {
        // The page names the recording by its full path, as the viewer does.
        const QString path = QFileInfo(m_request.inputs[index]).absoluteFilePath();
        m_err.write(QStringLiteral("[%1/%2] %3\n").arg(index + 1).arg(m_request.inputs.size()).arg(path).toUtf8());
        OpenedRecording recording(m_prompts);
        if (!Open(recording, path, m_request, m_prompts))
            return Failed(path, QStringLiteral("cannot be opened"));
        if (m_request.trace > recording.viewer.doc.Data().m_nTraceCount)
            return Failed(path, QStringLiteral("has no trace %1").arg(m_request.trace));
        QString error;
        const QImage picture = ReportPictureFor(
            page, ViewPictureRenderer(recording.scene, PaintDescription(recording.viewer.doc, recording.viewer.view), &error));
        if (picture.isNull())
            return Failed(path, QStringLiteral("cannot draw the picture: %1").arg(error));
        return draw(SettingsFor(recording, m_request), picture);
    }

    bool Failed(const QString& path, const QString& why) {
        m_err.write(QStringLiteral("zarno-cli: %1: %2\n").arg(path, why).toUtf8());
        return false;
    }

    const ReportRequest& request() const { return m_request; }

private:
    const ReportRequest& m_request;
    QIODevice& m_err;
    Prompts& m_prompts;
};

// Every page that could be made, into out; false when none could (a PDF without a page would be a
// file that looks like a report and holds none) or the PDF could not be finished.
bool WritePdfPages(ReportRun& run, QIODevice& out, bool& everyPage) {
    ReportPdfWriter pdf(out);
    int pages = 0;
    for (qsizetype i = 0; i < run.request().inputs.size(); ++i)
        everyPage &= run.Page(i, pdf.Page(), [&](const ReportSettings& settings, const QImage& picture) {
            pdf.AddPage(settings, picture);
            ++pages;
            return true;
        });
    return pages > 0 && pdf.Finish();
}

// The PDF writer stops writing at the first short write and says nothing (a disk that fills in the
// middle of one of its pieces takes part of it and fails the rest), so the document is made in memory
// and goes to the disk in one write whose every byte is checked.
bool WritePdf(ReportRun& run, const QString& path) {
    bool everyPage = true;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    if (!WritePdfPages(run, pdf, everyPage))
        return false; // the pages that failed were named; no file is made
    switch (io::WriteWholeFile(path, pdf.data())) {
    case io::WholeFileResult::Written:
        return everyPage;
    case io::WholeFileResult::NotCreated:
        return run.Failed(path, QStringLiteral("cannot be created"));
    case io::WholeFileResult::WriteFailed:
        break;
    }
    return run.Failed(path, QStringLiteral("cannot be written"));
}

bool WriteMetafiles(ReportRun& run, const QDir& dir) {
    const PageMetrics page = A4PageMetrics();
    bool every = true;
    QSet<QString> names;
    for (qsizetype i = 0; i < run.request().inputs.size(); ++i) {
        const QString input = run.request().inputs[i];
        const QString name = MetafileName(QFileInfo(input).completeBaseName());
        // Two recordings of one name in different folders would overwrite each other's report.
        if (names.contains(name)) {
            every = run.Failed(input, QStringLiteral("another file's report is already named %1").arg(name));
            continue;
        }
        names.insert(name);
        every &= run.Page(i, page, [&](const ReportSettings& settings, const QImage& picture) {
            const QString path = dir.filePath(name);
            const QByteArray metafile = ReportMetafile(settings, page, {kA4WidthTenthsMm, kA4HeightTenthsMm}, picture);
            if (io::WriteWholeFile(path, metafile) == io::WholeFileResult::Written)
                return true;
            return run.Failed(path, QStringLiteral("cannot be written"));
        });
    }
    return every;
}

// The files the run would write, before any is written.
QStringList OutputsOf(const ReportRequest& request) {
    const QDir dir(request.outputDir);
    if (!request.emf)
        return {dir.filePath("report.pdf")};
    QStringList outputs;
    for (const QString& input : request.inputs)
        outputs << dir.filePath(MetafileName(QFileInfo(input).completeBaseName()));
    return outputs;
}

// Inputs that are not files, and outputs that would replace an input, refuse the whole run at once.
bool Refused(const ReportRequest& request, QIODevice& err, Prompts& prompts) {
    bool refused = false;
    for (const QString& input : request.inputs)
        refused |= !SGYInputIsAFile(input, prompts);
    for (const QString& output : OutputsOf(request))
        refused |= OutputIsAnInput(output, request.inputs, err);
    return refused;
}

} // namespace

int RunReport(const QStringList& args, QIODevice& err, Prompts& prompts) {
    const std::optional<ReportRequest> request = Parse(args);
    if (!request) {
        err.write(kReportUsage);
        return kExitUsage;
    }
    if (Refused(*request, err, prompts))
        return kExitFailed;
    const auto app = GuiApplicationIfNone();
    if (!QDir().mkpath(request->outputDir)) {
        err.write(QStringLiteral("zarno-cli: cannot make the folder %1\n").arg(request->outputDir).toUtf8());
        return kExitFailed;
    }
    ReportRun run(*request, err, prompts);
    const QDir dir(request->outputDir);
    const bool ok = request->emf ? WriteMetafiles(run, dir) : WritePdf(run, dir.filePath("report.pdf"));
    return ok ? kExitOk : kExitFailed;
}

int RunReportCommand(const QStringList& args) {
    QFile err;
    err.open(stderr, QIODevice::WriteOnly);
    StderrPrompts prompts;
    return RunReport(args, err, prompts);
}

} // namespace zarno::cli
