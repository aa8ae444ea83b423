#include "cli/signal_commands.h"

#include "cli/commands.h"
#include "cli/input_files.h"

#include "app/analysis/toe_finder.h"
#include "app/dsp/filter_settings.h"
#include "app/dsp/sample_math.h"
#include "app/io/whole_file.h"
#include "app/seams/stderr_prompts.h"
#include "app/viewer/pict_load.h"
#include "app/viewer/pict_processing.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace zarno::cli {

namespace {

constexpr char kMeasureUsage[] = "usage: zarno-cli measure [--velocity V] [--json] FILE.sgy\n";
constexpr char kSpectrumUsage[] = "usage: zarno-cli spectrum [--window rect|blackman-harris|hamming] "
                                  "[--scale log|linear] [--filter] [-o FILE] FILE.sgy\n";

int Usage(QIODevice& err, const char* usage) {
    err.write(usage);
    return kExitUsage;
}

struct Loaded {
    ViewerDisplaySettings display;
    CPictDoc doc{display};
    dsp::FilterSettings filter{};
};

// The document as the viewer loads it, but leaving the directory as it is.
bool Load(Loaded& loaded, const QString& path, double velocity, Prompts& prompts) {
    PictLoadOptions options;
    options.velocity = velocity;
    options.settingsFiles = dsp::MissingFile::Leave;
    return LoadPictDoc(loaded.doc, path, prompts, loaded.filter, options);
}

// Per trace: the reflection search as the viewer does it (kept for callers that rely on it), and
// the toe finder's answer beside it.
struct TraceMeasure {
    int trace;
    int arrival;
    int reflection;
    double timeMs;
    double lengthM;
    analysis::ToeResult toe;
};

std::vector<TraceMeasure> Measures(const CPictDoc& doc) {
    std::vector<TraceMeasure> rows;
    const PictDocData& data = doc.Data();
    const double dt = doc.SampleIntervalSeconds();
    for (int i = 0; i < data.m_nGraphsOnScreen; ++i) {
        const auto t = static_cast<std::size_t>(i);
        const double timeMs = dsp::TimeOfSample(0.0, data.m_nEchoIndex[t], dt) * 1000.0;
        rows.push_back({i + 1, data.m_nImpactIndex[t], data.m_nEchoIndex[t], timeMs, data.m_dLength[t],
                        analysis::FindToe(data.m_pRaw[t], dt, data.m_dVelocity)});
    }
    return rows;
}

const char* KindName(analysis::Anomaly::Kind kind) {
    return kind == analysis::Anomaly::Kind::Reduction ? "reduction" : "increase";
}

QJsonValue ToeJson(const analysis::ToeResult& toe) {
    if (!toe.found)
        return QJsonValue::Null;
    return QJsonObject{{"index", toe.index},
                       {"time_ms", toe.timeMs},
                       {"length_m", toe.lengthM},
                       {"confidence", toe.confidence}};
}

QJsonArray AnomaliesJson(const analysis::ToeResult& toe) {
    QJsonArray anomalies;
    for (const analysis::Anomaly& a : toe.anomalies)
        anomalies.append(
            QJsonObject{{"depth_m", a.depthM}, {"kind", KindName(a.kind)}, {"strength", a.strength}});
    return anomalies;
}

QString ToeText(const analysis::ToeResult& toe) {
    if (!toe.found)
        return QStringLiteral("  toe: not found (confidence %1)\n").arg(toe.confidence, 0, 'f', 2);
    return QStringLiteral("  toe: sample %1, time %2 ms, length %3 m, confidence %4\n")
        .arg(toe.index)
        .arg(toe.timeMs, 0, 'f', 3)
        .arg(toe.lengthM, 0, 'f', 3)
        .arg(toe.confidence, 0, 'f', 2);
}

QString AnomaliesText(const analysis::ToeResult& toe) {
    QString text;
    for (const analysis::Anomaly& a : toe.anomalies)
        text += QStringLiteral("  anomaly at %1 m: %2, strength %3\n")
                    .arg(a.depthM, 0, 'f', 2)
                    .arg(QLatin1String(KindName(a.kind)))
                    .arg(a.strength, 0, 'f', 2);
    return text;
}

QByteArray MeasureJson(const QString& path, const CPictDoc& doc) {
    QJsonArray traces;
    for (const TraceMeasure& m : Measures(doc))
        traces.append(QJsonObject{{"trace", m.trace},
                                  {"arrival_index", m.arrival},
                                  {"reflection_index", m.reflection},
                                  {"time_ms", m.timeMs},
                                  {"length_m", m.lengthM},
                                  {"toe", ToeJson(m.toe)},
                                  {"anomalies", AnomaliesJson(m.toe)}});
    const QJsonObject root{{"file", path},
                           {"velocity", doc.Data().m_dVelocity},
                           {"sample_interval_us", doc.Data().m_nSampleIntervalUs},
                           {"samples", doc.Data().m_nSamples},
                           {"traces", traces}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray MeasureText(const QString& path, const CPictDoc& doc) {
    QString text = QStringLiteral("%1\nvelocity %2 m/s, sample interval %3 us, %4 samples\n")
                       .arg(path)
                       .arg(doc.Data().m_dVelocity)
                       .arg(doc.Data().m_nSampleIntervalUs)
                       .arg(doc.Data().m_nSamples);
    for (const TraceMeasure& m : Measures(doc))
        text += QStringLiteral("trace %1: arrival %2, reflection %3, time %4 ms, length %5 m\n")
                    .arg(m.trace)
                    .arg(m.arrival)
                    .arg(m.reflection)
                    .arg(m.timeMs, 0, 'f', 3)
                    .arg(m.lengthM, 0, 'f', 3) +
                ToeText(m.toe) + AnomaliesText(m.toe);
    return text.toUtf8();
}

std::optional<dsp::FftWindow> WindowNamed(const QString& name) {
    if (name == "rect")
        return dsp::FftWindow::Rectangular;
    if (name == "blackman-harris")
        return dsp::FftWindow::BlackmanHarris;
    if (name == "hamming")
        return dsp::FftWindow::Hamming;
    return std::nullopt;
}

std::optional<dsp::SpectrumScale> ScaleNamed(const QString& name) {
    if (name == "log")
        return dsp::SpectrumScale::Logarithmic;
    if (name == "linear")
        return dsp::SpectrumScale::Linear;
    return std::nullopt;
}

} // namespace

int RunMeasure(const QStringList& args, QIODevice& out, QIODevice& err, Prompts& prompts) {
    double velocity = 3600.0;
    bool json = false;
    QString path;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--json") {
            json = true;
        } else if (a == "--velocity" && i + 1 < args.size()) {
            const auto v = VelocityArgument(args[++i]);
            if (!v)
                return Usage(err, kMeasureUsage);
            velocity = *v;
        } else if (a.startsWith('-') || !path.isEmpty()) {
            return Usage(err, kMeasureUsage);
        } else {
            path = a;
        }
    }
    if (path.isEmpty())
        return Usage(err, kMeasureUsage);
    if (!SGYInputIsAFile(path, prompts))
        return 1;
    Loaded loaded;
    if (!Load(loaded, path, velocity, prompts))
        return 1;
    out.write(json ? MeasureJson(path, loaded.doc) : MeasureText(path, loaded.doc));
    return 0;
}

int RunSpectrum(const QStringList& args, QIODevice& out, QIODevice& err, Prompts& prompts) {
    dsp::FftWindow window = dsp::FftWindow::Hamming; // the viewer's initial choices
    dsp::SpectrumScale scale = dsp::SpectrumScale::Logarithmic;
    bool filtered = false;
    QString path, output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--filter") {
            filtered = true;
        } else if (a == "--window" && hasValue) {
            const auto w = WindowNamed(args[++i]);
            if (!w)
                return Usage(err, kSpectrumUsage);
            window = *w;
        } else if (a == "--scale" && hasValue) {
            const auto s = ScaleNamed(args[++i]);
            if (!s)
                return Usage(err, kSpectrumUsage);
            scale = *s;
        } else if (a == "-o" && hasValue) {
            output = args[++i];
        } else if (a.startsWith('-') || !path.isEmpty()) {
            return Usage(err, kSpectrumUsage);
        } else {
            path = a;
        }
    }
    if (path.isEmpty())
        return Usage(err, kSpectrumUsage);
    if (!SGYInputIsAFile(path, prompts) || (!output.isEmpty() && OutputIsAnInput(output, {path}, err)))
        return 1;
    Loaded loaded;
    if (!Load(loaded, path, 3600.0, prompts))
        return 1;
    loaded.doc.SetUseFilter(filtered);
    loaded.doc.ComputeSpectra(window, scale, true);
    const QByteArray text = SpectrumFileText(loaded.doc);
    if (output.isEmpty()) {
        out.write(text);
        return 0;
    }
    if (io::WriteWholeFile(output, text) != io::WholeFileResult::Written) {
        prompts.message(QCoreApplication::translate("zarno::Cli", "Невозможно записать файл %1").arg(output),
                        QCoreApplication::translate("zarno::Cli", "Ошибка"), PromptIcon::Stop);
        return 1;
    }
    return 0;
}

namespace {

template <typename Run> int WithStandardStreams(const QStringList& args, Run run) {
    QFile out, err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    StderrPrompts prompts;
    const int status = run(args, out, err, prompts);
    // Hands what Qt still buffers to the standard output, whose errors main() looks at.
    out.flush();
    return status;
}

} // namespace

int RunMeasureCommand(const QStringList& args) {
    return WithStandardStreams(args, RunMeasure);
}
int RunSpectrumCommand(const QStringList& args) {
    return WithStandardStreams(args, RunSpectrum);
}

} // namespace zarno::cli
