// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs the command-line tool as a user would, for the tests of its commands.
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace sw::test {

struct BatchRun
{
    int exitCode = -1;
    QString out;
    QString err;
    // Both streams, for failure messages.
    std::string both() const { return QString(out + err).toStdString(); }
};

// Runs `program` (the tool itself, or a wrapper that starts it) to its end. `input` is
// what is typed (a PIN); after it, a question meets the end of input.
inline BatchRun runProgram(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    QProcess p;
    p.start(program, arguments);
    // Nobody types at a test: a question the arguments leave open meets the end of input.
    if (!input.isEmpty() && p.waitForStarted())
        p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish: " << arguments.join(QLatin1Char(' ')).toStdString();
    }
    if (p.exitStatus() == QProcess::NormalExit)
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    // A crash says nothing of its own: the signal that ended it is named (on Unix, the
    // exit code of a crashed process is that signal).
    return {-1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError()) + QStringLiteral("\n(ended by signal %1)").arg(p.exitCode())};
}

inline BatchRun runBatch(const QStringList &arguments, const QByteArray &input = {})
{
    return runProgram(QStringLiteral(SCROLLWISE_BATCH_PATH), arguments, input);
}

// For EXPECT_TRUE: the run ended with `exitCode` and its error stream says `text`.
inline ::testing::AssertionResult endedWith(const BatchRun &run, int exitCode, const QString &text = {})
{
    if (run.exitCode == exitCode && run.err.contains(text))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "exit code " << run.exitCode << ", expected " << exitCode << " and \""
                                         << text.toStdString() << "\" in:\n"
                                         << run.both();
}

} // namespace sw::test
