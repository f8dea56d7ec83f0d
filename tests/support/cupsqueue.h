// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace sw::test {

// A CUPS scheduler of the test's own, with one print queue that typesets what it is
// sent with CUPS's filters (text through the text filter) into a PDF file. Its
// configuration, spool, logs and socket live in a temporary folder; it listens on
// that socket only, so tests running side by side and the machine's own CUPS never
// meet. While it runs, CUPS_SERVER points this process (and the `lp` it starts) at it.
//
// Starting needs the CUPS daemon, the filters of cups-filters and the rights to run
// them (root); when it cannot start, ready() is false and problem() says why.
class CupsQueue
{
public:
    CupsQueue();
    ~CupsQueue();
    CupsQueue(const CupsQueue &) = delete;
    CupsQueue &operator=(const CupsQueue &) = delete;

    bool ready() const { return m_problem.isEmpty(); }
    const QString &problem() const { return m_problem; }
    QString name() const { return QStringLiteral("swtext"); }

    // Waits until the queue has finished what it was sent and returns the PDF the last
    // job made; empty, with the reason in problem(), when none came.
    QString waitForPdf();

private:
    bool start();
    bool run(const QString &program, const QStringList &arguments, QString *output = nullptr);
    QString logTail() const;

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_socket;
    QString m_problem;
    QByteArray m_previousServer;
    bool m_hadServer = false;
};

// CUPS's text filter embeds its font without the map from glyphs back to characters
// (ToUnicode) that text extraction reads, so pdftotext sees glyph numbers. This writes
// a copy of `pdf` with that map added to each such font, built from the embedded
// font's own character map; nothing drawn is changed. Returns the copy's path.
QString withCharacterMaps(const QString &pdf);

// Skips the test when the queue could not start, except under CI=true, where that
// is a failure. Use as: if (!cupsQueueReady(queue)) return;
bool cupsQueueReady(const CupsQueue &queue);

} // namespace sw::test
