#include "cli/render_command.h"

#include "cli/commands.h"
#include "cli/input_files.h"
#include "cli/png_output.h"

#include "app/io/whole_file.h"
#include "app/render/graph_picture.h"
#include "app/render/graph_setup.h"
#include "app/render/offscreen_render.h"
#include "app/seams/stderr_prompts.h"
#include "app/viewer/viewer_paint.h"
#include "cli/viewer_options.h"
#include "cli/viewer_session.h"

#include <QCoreApplication>
#include <QFile>

#include <optional>

namespace zarno::cli {

namespace {

constexpr char kRenderUsage[] =
    "usage: zarno-cli render [--width W] [--height H] [--spectrum] [--single N] [--fill line|upper|lower] "
    "[--no-grid] [--marker SAMPLE]... [--time|--length] [--velocity V] -o OUT.png FILE.sgy\n";

// A picture larger than this on either side is refused rather than allocated.
constexpr int kMaxPictureSide = 16384;

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
    const QCommandLineOption width = ValueOption("width", "W"), height = ValueOption("height", "H");
    const QCommandLineOption spectrum = FlagOption("spectrum"), noGrid = FlagOption("no-grid");
    const QCommandLineOption single = ValueOption("single", "N"), fill = ValueOption("fill", "MODE");
    const QCommandLineOption time = FlagOption("time"), length = FlagOption("length");
    const QCommandLineOption output = ValueOption("o", "OUT");
    QCommandLineParser parser;
    parser.addOptions({width, height, spectrum, noGrid, single, fill, time, length, output, MarkerOption(),
                       VelocityOption()});
    parser.addPositionalArgument("file", "FILE.sgy");
    if (!ParseCommandLine(parser, args) || parser.positionalArguments().size() != 1 || parser.value(output).isEmpty())
        return std::nullopt;
    RenderRequest r;
    const std::optional<int> w = IntOption(parser, width, 1, kMaxPictureSide, r.width);
    const std::optional<int> h = IntOption(parser, height, 1, kMaxPictureSide, r.height);
    const std::optional<int> n = IntOption(parser, single, 1, kGraphSetSize, r.single);
    const std::optional<std::vector<int>> markers = MarkerOptions(parser);
    const std::optional<double> velocity = VelocityValue(parser);
    if (!w || !h || !n || !markers || !velocity)
        return std::nullopt;
    if (parser.isSet(fill) && !(r.fillMode = FillModeNamed(parser.value(fill))))
        return std::nullopt;
    r.width = *w;
    r.height = *h;
    r.single = *n;
    r.markers = *markers;
    r.velocity = *velocity;
    r.spectrum = parser.isSet(spectrum);
    r.grid = !parser.isSet(noGrid);
    // Of --time and --length the last given counts.
    const QStringList names = parser.optionNames();
    r.timeUnits = names.lastIndexOf("length") <= names.lastIndexOf("time");
    r.output = parser.value(output);
    r.input = parser.positionalArguments().front();
    return r;
}

// The viewer switched the way the request asks, through the panel's rules.
void ApplyRequest(ViewerSession& v, const RenderRequest& r) {
    v.model.SetTimeUnits(r.timeUnits);
    if (r.fillMode)
        v.model.SetFillMode(*r.fillMode);
    if (r.spectrum)
        v.model.EnterSpectrum();
    if (r.single > 0) {
        v.doc.SetSingleTrace(r.single - 1);
        v.view.singleMode = true;
    }
    v.view.grid = r.grid;
    v.PlaceMarkers(r.markers);
}

bool WritePng(const QImage& image, const QString& path) {
    const QByteArray png = EncodePng(image);
    return !png.isEmpty() && io::WriteWholeFile(path, png) == io::WholeFileResult::Written;
}

} // namespace

int RunRender(const QStringList& args, QIODevice& err, Prompts& prompts) {
    const std::optional<RenderRequest> request = Parse(args);
    if (!request) {
        err.write(kRenderUsage);
        return kExitUsage;
    }
    const RenderRequest& r = *request;
    if (!SGYInputIsAFile(r.input, prompts) || OutputIsAnInput(r.output, {r.input}, err))
        return kExitFailed;
    ViewerSession v(prompts);
    if (!v.Open(r.input, r.velocity, prompts))
        return kExitFailed;
    if (r.single > v.doc.Data().m_nTraceCount) {
        err.write(QStringLiteral("zarno-cli: the file has %1 trace(s); --single %2 is not one of them\n")
                      .arg(v.doc.Data().m_nTraceCount)
                      .arg(r.single)
                      .toUtf8());
        return kExitUsage;
    }
    ApplyRequest(v, r);
    CGraphScene scene;
    SetUpGraphs(scene, SignalGraphsOf(v.doc), SpectrumGraphsOf(v.doc));
    const GraphPicture picture = PaintDescription(v.doc, v.view);
    QString error;
    const QImage image = RenderOffscreen(scene, picture, r.width, r.height, OffscreenLook::Screen(), &error);
    if (image.isNull()) {
        err.write(QStringLiteral("zarno-cli: cannot draw the picture: %1\n").arg(error).toUtf8());
        return kExitFailed;
    }
    if (!WritePng(image, r.output)) {
        prompts.message(
            QCoreApplication::translate("zarno::Cli", "Невозможно записать файл %1").arg(r.output),
            QCoreApplication::translate("zarno::Cli", "Ошибка"), PromptIcon::Stop);
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
