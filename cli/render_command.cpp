#include "cli/render_command.h"

#include "cli/commands.h"

#include "app/io/whole_file.h"
#include "app/render/graph_picture.h"
#include "app/render/graph_setup.h"
#include "app/render/offscreen_render.h"
#include "app/seams/stderr_prompts.h"
#include "app/viewer/pict_load.h"
#include "app/viewer/pict_processing.h"

#include <QFile>
#include <QImageWriter>
#include <QSaveFile>

#include <limits>
#include <optional>

namespace zarno::cli {

namespace {

constexpr char kRenderUsage[] =
    "usage: zarno-cli render [--width W] [--height H] [--spectrum] [--single N] [--fill line|upper|lower] "
    "[--no-grid] [--marker SAMPLE]... [--time|--length] [--velocity V] -o OUT.png FILE.sgy\n";

// A picture larger than this on either side is refused rather than allocated.
constexpr int kMaxPictureSide = 16384;
constexpr int kMaxMarkers = kGraphMarkers;

struct RenderRequest {
    int width = 1000;
    int height = 600;
    bool spectrum = false;
    int single = 0; // 1-based; 0 for all traces stacked
    std::optional<int> fillMode;
    bool grid = true;
    std::vector<int> markers;
    bool timeUnits = true;
    double velocity = 3600.0;
    QString output;
    QString input;
};

std::optional<int> FillModeNamed(const QString& name) {
    if (name == "line")
        return 0;
    if (name == "upper")
        return 1;
    if (name == "lower")
        return 2;
    return std::nullopt;
}

std::optional<RenderRequest> Parse(const QStringList& args) {
    RenderRequest r;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        std::optional<int> n;
        if (a == "--spectrum") {
            r.spectrum = true;
        } else if (a == "--no-grid") {
            r.grid = false;
        } else if (a == "--time") {
            r.timeUnits = true;
        } else if (a == "--length") {
            r.timeUnits = false;
        } else if ((a == "--width" || a == "--height") && hasValue &&
                   (n = IntArgument(args[++i], 1, kMaxPictureSide))) {
            (a == "--width" ? r.width : r.height) = *n;
        } else if (a == "--single" && hasValue && (n = IntArgument(args[++i], 1, kGraphSetSize))) {
            r.single = *n;
        } else if (a == "--fill" && hasValue && (n = FillModeNamed(args[++i]))) {
            r.fillMode = n;
        } else if (a == "--marker" && hasValue && r.markers.size() < kMaxMarkers &&
                   (n = IntArgument(args[++i], std::numeric_limits<int>::min(), std::numeric_limits<int>::max()))) {
            r.markers.push_back(*n);
        } else if (a == "--velocity" && hasValue) {
            bool ok = false;
            r.velocity = args[++i].toDouble(&ok);
            if (!ok)
                return std::nullopt;
        } else if (a == "-o" && hasValue) {
            r.output = args[++i];
        } else if (a.startsWith('-') || !r.input.isEmpty()) {
            return std::nullopt;
        } else {
            r.input = a;
        }
    }
    if (r.input.isEmpty() || r.output.isEmpty())
        return std::nullopt;
    return r;
}

// The document after its load, switched the way the request asks, as the viewer's controls would.
void ApplyRequest(CPictDoc& doc, CGraphScene& scene, const RenderRequest& r) {
    if (r.fillMode)
        doc.SetFillMode(*r.fillMode);
    doc.SetUnits(r.timeUnits);
    scene.m_nTimeUnits = r.timeUnits ? 1 : 0;
    if (r.spectrum) {
        doc.SetSpectrumMode(true);
        doc.ComputeSpectra(static_cast<dsp::FftWindow>(doc.Data().m_nFftWindow),
                           static_cast<dsp::SpectrumScale>(doc.Data().m_nSpectrumScale), true);
    }
    if (r.single > 0) {
        scene.m_nSingleMode = 1;
        doc.SetSingleTrace(r.single - 1);
    }
    // The first marker given is the current one, the second the previous one.
    for (std::size_t i = 0; i < r.markers.size(); ++i)
        scene.m_nMarkers[i] = r.markers[i];
    scene.m_nCurrentMarker = 0;
    scene.m_nPreviousMarker = 1;
}

bool WritePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "png");
    return writer.write(image) && io::CommitWholeFile(file);
}

} // namespace

int RunRender(const QStringList& args, QIODevice& err, Prompts& prompts) {
    const std::optional<RenderRequest> request = Parse(args);
    if (!request) {
        err.write(kRenderUsage);
        return kExitUsage;
    }
    const RenderRequest& r = *request;
    ViewerDisplaySettings display;
    CPictDoc doc(display);
    dsp::FilterSettings filter{};
    PictLoadOptions options;
    options.velocity = r.velocity;
    options.settingsFiles = dsp::MissingFile::Leave;
    if (!LoadPictDoc(doc, r.input, prompts, filter, options))
        return kExitFailed;
    if (r.single > doc.Data().m_nTraceCount) {
        err.write(QStringLiteral("zarno-cli: the file has %1 trace(s); --single %2 is not one of them\n")
                      .arg(doc.Data().m_nTraceCount)
                      .arg(r.single)
                      .toUtf8());
        return kExitUsage;
    }
    CGraphScene scene;
    ApplyRequest(doc, scene, r);
    SetUpGraphs(scene, doc);
    const GraphPicture picture = PaintPicture(doc, scene, r.grid ? 1 : 0);
    QString error;
    const QImage image = RenderOffscreen(scene, picture, r.width, r.height, OffscreenLook::Screen(), &error);
    if (image.isNull()) {
        err.write(QStringLiteral("zarno-cli: cannot draw the picture: %1\n").arg(error).toUtf8());
        return kExitFailed;
    }
    if (!WritePng(image, r.output)) {
        prompts.message(QStringLiteral("Невозможно записать файл %1").arg(r.output), QStringLiteral("Ошибка"),
                        PromptIcon::Stop);
        return kExitFailed;
    }
    return kExitOk;
}

int RunRenderCommand(const QStringList& args) {
    QFile err;
    err.open(stderr, QIODevice::WriteOnly);
    StderrPrompts prompts;
    return RunRender(args, err, prompts);
}

} // namespace zarno::cli
