#pragma once
// A program run as a user runs it, for tests that check what a command prints and how it ends.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace zarno::testing {

struct ProcessRun {
    int exitCode; // -1 when the program crashed
    QString out;
    QString err;
};

// Runs program with args and waits for it (two minutes at most: sanitizer builds are slow); its
// standard output goes to stdoutFile when one is given.
inline ProcessRun RunProcess(const QString& program, const QStringList& args, const QString& stdoutFile = {}) {
    QProcess process;
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(120000)) << program.toStdString() << " did not finish";
    const int exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {exitCode, QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// An outside tool that must succeed (a reader of what the program wrote): its standard output.
inline QString RunTool(const QString& program, const QStringList& args) {
    const ProcessRun run = RunProcess(program, args);
    EXPECT_EQ(run.exitCode, 0) << program.toStdString() << ": " << run.err.toStdString();
    return run.out;
}

} // namespace zarno::testing
