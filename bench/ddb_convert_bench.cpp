// Converting a large DDB recording (256 channels x 65535 samples, 67 MB of data) against copying the
// same bytes, measured side by side in one run. Both write through QSaveFile (a temporary file that
// is synced and renamed on commit), so the ratio shows what the conversion itself costs. Goal: the
// conversion takes at most twice as long as the copy. (bench/cli_speed.sh times the same conversion
// as a whole zarno-cli process.)

#include "app/formats/convert_ddb_file.h"
#include "app/formats/ddb_header.h"
#include "app/seams/stderr_prompts.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace zarno;

namespace {

constexpr quint16 kChannels = 256;
constexpr qint32 kSamples = 65535;
constexpr int kRounds = 7;

bool WriteRecording(const QString& path) {
    DDBHeader header;
    std::memcpy(header.ident, "BENCH", 5);
    header.sampleRate = 8000;
    header.channels = kChannels;
    header.samplesPerChannel = kSamples;
    header.formatCode = 2;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto head = EncodeDDBHeader(header);
    file.write(reinterpret_cast<const char*>(head.data()), qint64(head.size()));
    QByteArray row(kChannels * 4, Qt::Uninitialized);
    for (qint32 s = 0; s < kSamples; ++s) {
        for (int j = 0; j < kChannels; ++j)
            qToLittleEndian(quint32(s * 131 + j), row.data() + j * 4);
        if (file.write(row) != row.size())
            return false;
    }
    return true;
}

bool CopyFile(const QString& from, const QString& to) {
    QFile in(from);
    QSaveFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    for (qint64 n; (n = in.read(buffer.data(), buffer.size())) > 0;)
        if (out.write(buffer.constData(), n) != n)
            return false;
    return out.commit();
}

template <typename F> double Seconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    if (!f()) {
        std::fprintf(stderr, "ddb_convert_bench: a run failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Best(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char** argv) {
    // "--write-recording PATH": only writes the recording, for benchmarks that run the programs.
    if (argc == 3 && std::strcmp(argv[1], "--write-recording") == 0)
        return WriteRecording(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    QTemporaryDir dir;
    const QString ddb = dir.filePath("big.ddb");
    if (!dir.isValid() || !WriteRecording(ddb)) {
        std::fprintf(stderr, "ddb_convert_bench: cannot write the recording\n");
        return 1;
    }
    StderrPrompts prompts;
    std::vector<double> convert, copy;
    for (int round = 0; round < kRounds; ++round) {
        copy.push_back(Seconds([&] { return CopyFile(ddb, dir.filePath("copy.ddb")); }));
        convert.push_back(
            Seconds([&] { return ConvertDDBFile(ddb, dir.filePath("big.sgy"), prompts) == 1; }));
    }
    // The best of several rounds is the least disturbed by other work on a shared machine; the
    // median is shown beside it.
    std::printf("DDB %d channels x %d samples, %lld bytes; %d rounds each, interleaved\n", kChannels,
                kSamples, static_cast<long long>(QFile(ddb).size()), kRounds);
    std::printf("copy:    best %8.2f ms, median %8.2f ms\n", Best(copy) * 1e3, Median(copy) * 1e3);
    std::printf("convert: best %8.2f ms, median %8.2f ms\n", Best(convert) * 1e3, Median(convert) * 1e3);
    std::printf("ratio convert/copy: best %.2f, median %.2f (goal <= 2)\n", Best(convert) / Best(copy),
                Median(convert) / Median(copy));
    return 0;
}
