// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A PDF read back by an independent reader, poppler's pdftotext.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace sw::test {

// The text of a PDF (with pdftotext's `options`, say -bbox), empty when it cannot be read.
inline QString pdfText(const QString &pdf, const QStringList &options = {})
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), QStringList(options) << pdf << QStringLiteral("-"));
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The same with the columns laid out as on the page; pages part at form feeds.
inline QString pdfLayoutText(const QString &pdf) { return pdfText(pdf, {QStringLiteral("-layout")}); }

} // namespace sw::test
