// zarno-cli convert [-o DIR] FILE.ddb...
// Each FILE becomes FILE's name without its extension plus ".sgy", beside FILE or in DIR. With
// several files a progress line per file goes to standard error. The exit status is 0 only when
// every file converted; a failure does not stop the files after it. A run that would write over one
// of its own inputs, make two files' results under one name, or read something that is not a
// regular file is refused before anything is written.

#include "app/formats/convert_ddb_file.h"
#include "app/io/file_identity.h"
#include "app/seams/stderr_prompts.h"
#include "cli/commands.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace zarno::cli {

namespace {

struct ConvertOptions {
    QString outputDir; // empty: beside each source
    QStringList files;
};

bool ParseConvert(const QStringList& args, ConvertOptions& options) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (++i == args.size())
                return false;
            options.outputDir = args[i];
        } else if (args[i].startsWith('-') && args[i].size() > 1) {
            return false;
        } else {
            options.files << args[i];
        }
    }
    return !options.files.isEmpty();
}

QString TargetPath(const QString& source, const QString& outputDir) {
    const QFileInfo info(source);
    const QDir dir(outputDir.isEmpty() ? info.path() : outputDir);
    return dir.filePath(info.completeBaseName() + ".sgy");
}

// Every reason to refuse the run as a whole, one line each; none when it may go ahead.
QStringList RefusalsOf(const ConvertOptions& options) {
    QStringList refusals;
    QStringList targets;
    for (const QString& source : options.files) {
        if (io::KindOfInput(source) == io::InputKind::NotRegular)
            refusals << QString(
                            "%1: not a regular file (a pipe, a device or a folder); only files are converted")
                            .arg(source);
        targets << TargetPath(source, options.outputDir);
    }
    for (qsizetype i = 0; i < targets.size(); ++i) {
        if (const auto input = io::InputAt(targets[i], options.files))
            refusals << QString("%1 would be written over the input %2").arg(targets[i], *input);
        for (qsizetype j = 0; j < i; ++j)
            if (io::SameFile(targets[i], targets[j]))
                refusals << QString("%1 and %2 would both be converted to %3")
                                .arg(options.files[j], options.files[i], targets[i]);
    }
    return refusals;
}

} // namespace

int RunConvert(const QStringList& args) {
    ConvertOptions options;
    if (!ParseConvert(args, options)) {
        PrintError("usage: zarno-cli convert [-o DIR] FILE.ddb...");
        return kExitUsage;
    }
    if (!options.outputDir.isEmpty() && !QFileInfo(options.outputDir).isDir()) {
        PrintError(QString("no such directory: %1").arg(options.outputDir));
        return kExitUsage;
    }
    if (const QStringList refusals = RefusalsOf(options); !refusals.isEmpty()) {
        for (const QString& refusal : refusals)
            PrintError(refusal);
        PrintError("nothing converted");
        return kExitFailed;
    }
    StderrPrompts prompts;
    const qsizetype count = options.files.size();
    int failures = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const QString& source = options.files[i];
        const QString target = TargetPath(source, options.outputDir);
        if (count > 1)
            std::fprintf(stderr, "[%lld/%lld] %s -> %s\n", static_cast<long long>(i + 1),
                         static_cast<long long>(count), source.toUtf8().constData(),
                         target.toUtf8().constData());
        // After "Ошибка в формате DDB файла!": what the header claims and what the file holds.
        QString refusal;
        const int result = ConvertDDBFile(source, target, prompts, nullptr, nullptr, &refusal);
        if (result == kConvertBadHeader)
            PrintError(QString("%1: not converted: %2").arg(source, refusal));
        if (result != kConvertDone)
            ++failures;
    }
    return failures == 0 ? kExitOk : kExitFailed;
}

} // namespace zarno::cli
