// zarno-cli site on a site of 200 piles, each a recording of two blows of 8192 samples, against
// zarno-cli measure on one of those recordings, both run as the user runs them (a process each) in
// the same run. Goal: the whole site, its table, its CSV and its PDF in under 10 s.
//
// site_bench DIR only writes the site there, to be looked at.

#include "app/analysis/pile_model.h"
#include "app/formats/ddb_header.h"
#include "app/formats/ddb_to_sgy.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace zarno;

namespace {

constexpr int kPiles = 200;
constexpr int kBlows = 2;
constexpr int kSamples = 8192;
constexpr int kMeasureRounds = 5;

// One pile's recording as the instrument would store it, converted to SEG-Y by the program's converter.
bool WritePile(const QString& path, int pile) {
    analysis::PileModel model;
    model.lengthM = 6.0 + (pile % 25);
    std::vector<std::vector<double>> blows;
    for (int b = 0; b < kBlows; ++b) {
        analysis::BlowRecording r;
        r.samples = kSamples;
        r.noise = 0.03;
        r.seed = uint64_t(pile * kBlows + b + 1);
        blows.push_back(analysis::SimulateBlow(model, r));
    }
    DDBHeader h;
    h.sampleRate = 25;
    h.frequencyUnit = 1; // kHz
    h.channels = kBlows;
    h.samplesPerChannel = kSamples;
    h.formatCode = 5;
    const auto head = EncodeDDBHeader(h);
    QByteArray ddb(reinterpret_cast<const char*>(head.data()), qsizetype(head.size()));
    for (int s = 0; s < kSamples; ++s)
        for (const auto& t : blows) {
            uchar word[4];
            qToLittleEndian(std::bit_cast<quint32>(float(t[std::size_t(s)])), word);
            ddb.append(reinterpret_cast<const char*>(word), 4);
        }
    DDBToSGYConverter converter(SGYTextVariant::Local);
    if (converter.pushHeaderBlock(ddb.left(kDDBBlockSize)) != DDBHeaderCheck::Ok)
        return false;
    QFile out(path);
    if (!out.open(QIODevice::ReadWrite | QIODevice::Truncate) || !converter.begin(out))
        return false;
    for (qsizetype at = kDDBBlockSize; at < ddb.size(); at += kDDBBlockSize)
        if (!converter.pushDataBlock(QByteArrayView(ddb).sliced(at, std::min<qsizetype>(kDDBBlockSize, ddb.size() - at))))
            return false;
    return converter.finish();
}

// Seconds of one run of zarno-cli, or a negative number when it failed.
double TimeCli(const QString& cli, const QStringList& args) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    p.start(cli, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "zarno-cli %s failed: %s\n", qPrintable(args.join(' ')),
                     p.readAllStandardError().constData());
        return -1.0;
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString cli = QDir(QCoreApplication::applicationDirPath()).filePath("zarno-cli");
    QTemporaryDir temporary, out;
    const QString site = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    for (int p = 0; p < kPiles; ++p)
        if (!QDir().mkpath(site) ||
            !WritePile(QDir(site).filePath(QString("P%1.sgy").arg(p + 1, 3, 10, QChar('0'))), p)) {
            std::fprintf(stderr, "cannot write the site\n");
            return 1;
        }
    if (argc > 1)
        return 0;
    std::vector<double> measure;
    for (int i = 0; i < kMeasureRounds; ++i)
        measure.push_back(TimeCli(cli, {"measure", QDir(site).filePath("P001.sgy")}));
    const double siteS = TimeCli(cli, {"site", "--velocity", "3800", "-o", out.path(), site});
    std::sort(measure.begin(), measure.end());
    if (siteS < 0 || measure.front() < 0)
        return 1;
    const double one = measure[measure.size() / 2];
    const double perPile = siteS / kPiles;
    std::printf("site of %d piles (%d x %d samples each), table, CSV and PDF: %.2f s (goal under 10 s)\n", kPiles,
                kBlows, kSamples, siteS);
    std::printf("per pile %.1f ms; measure on one recording %.1f ms (median of %d); ratio %.2f\n", perPile * 1e3,
                one * 1e3, kMeasureRounds, perPile / one);
    return siteS < 10.0 ? 0 : 1;
}
