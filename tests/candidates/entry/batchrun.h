// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs the command-line tool as a user would, for the tests of its commands.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace sw::test {

struct BatchRun
{
    int exitCode;
    QString out;
    QString err;
};

inline BatchRun runBatch(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral(SCROLLWISE_BATCH_PATH), arguments);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace sw::test
