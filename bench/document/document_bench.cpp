// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the composer and the workbook writer, printed as figures:
//   a one-page certificate (two pictures, ten paragraphs in two fonts) to PDF, one file per page;
//   the same page to PNG at 150 dpi; to .odt; beside LibreOffice's .odt -> PDF when installed;
//   a 50,000-row workbook in three formats, with the memory it took.
// Usage: document_bench [pages] [pdf|png|odt|xlsx]   (200 pages, every part when not given)
#include "shell/core/headless.h"
#include "shell/document/document.h"
#include "shell/document/documentoutput.h"
#include "shell/document/odtwriter.h"
#include "shell/workbook/workbook.h"
#include "referencepage.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <time.h>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::bench::makeReferencePicture;
using sw::bench::referenceCertificate;

namespace {

double perSecond(int count, qint64 nanoseconds) { return nanoseconds > 0 ? count * 1e9 / double(nanoseconds) : 0; }

// The process's own processor time: on a shared machine the wall clock also counts other work.
qint64 cpuNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Wall-clock and processor-time rates of one measured stretch.
class Stopwatch
{
public:
    Stopwatch() { m_wall.start(); }
    void print(const char *what, int count, const char *unit) const
    {
        std::printf("%-42s %8.1f %s (wall clock), %8.1f %s (processor time), %d measured\n", what,
                    perSecond(count, m_wall.nsecsElapsed()), unit, perSecond(count, cpuNanoseconds() - m_cpu), unit,
                    count);
    }
    double cpuRate(int count) const { return perSecond(count, cpuNanoseconds() - m_cpu); }
    double wallSeconds() const { return m_wall.nsecsElapsed() / 1e9; }
    double cpuSeconds() const { return (cpuNanoseconds() - m_cpu) / 1e9; }

private:
    QElapsedTimer m_wall;
    qint64 m_cpu = cpuNanoseconds();
};

long maxRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    auto part = [&only](const QString &name) { return only.isEmpty() || only == name; };
    QTemporaryDir dir;
    const QString seal = makeReferencePicture(dir.filePath(u"seal.jpg"_s), 400, Qt::darkBlue);
    const QString signature = makeReferencePicture(dir.filePath(u"vc.jpg"_s), 200, Qt::black);

    // The first page pays for font loading; it is not counted.
    documentoutput::writePdf(referenceCertificate(seal, signature, 0), dir.filePath(u"warm.pdf"_s));

    double pdfRate = 0;
    if (part(u"pdf"_s)) {
        const Stopwatch t;
        for (int i = 0; i < pages; ++i)
            documentoutput::writePdf(referenceCertificate(seal, signature, i), dir.filePath(u"DC_%1.pdf"_s.arg(i)));
        t.print("certificate to PDF, one file per page:", pages, "pages/s");
        pdfRate = t.cpuRate(pages);

        // The same pages in one file: what remains once fonts are embedded once, not per page.
        Document run;
        for (int i = 0; i < pages; ++i) {
            Document page = referenceCertificate(seal, signature, i);
            if (i > 0)
                run.flow.emplace_back(PageBreak{});
            for (AnchoredItem &a : page.anchored)
                a.flowIndex += run.flow.size();
            run.flow.insert(run.flow.end(), page.flow.begin(), page.flow.end());
            run.anchored.insert(run.anchored.end(), page.anchored.begin(), page.anchored.end());
        }
        run.page = referenceCertificate(seal, signature, 0).page;
        const Stopwatch one;
        documentoutput::writePdf(run, dir.filePath(u"run.pdf"_s));
        one.print("the same pages as one PDF file:", pages, "pages/s");
    }

    const int pngPages = std::max(1, pages / 2);
    if (part(u"png"_s)) {
        const Stopwatch t;
        for (int i = 0; i < pngPages; ++i)
            documentoutput::writePng(referenceCertificate(seal, signature, i), dir.filePath(u"png"_s), 150,
                                     u"cert%1"_s.arg(i));
        t.print("certificate to PNG at 150 dpi:", pngPages, "pages/s");
    }
    if (part(u"odt"_s)) {
        const Stopwatch t;
        for (int i = 0; i < pages; ++i)
            OdtWriter::write(referenceCertificate(seal, signature, i), dir.filePath(u"letter%1.odt"_s.arg(i)));
        t.print("certificate to .odt:", pages, "files/s");
    }

    if (part(u"odt"_s) && !QStandardPaths::findExecutable(u"soffice"_s).isEmpty()) {
        QElapsedTimer t;
        t.start();
        QProcess soffice;
        soffice.start(u"soffice"_s, {u"--headless"_s, u"--convert-to"_s, u"pdf"_s, u"--outdir"_s, dir.filePath(u"lo"_s),
                                     dir.filePath(u"letter0.odt"_s)});
        soffice.waitForFinished(300000);
        const double seconds = t.nsecsElapsed() / 1e9;
        std::printf("LibreOffice .odt -> PDF, one page:      %8.2f s  (our PDF is %.0f times faster)\n", seconds,
                    seconds * pdfRate);
    } else if (part(u"odt"_s)) {
        std::printf("LibreOffice .odt -> PDF: not installed, no ratio to print\n");
    }
    if (!part(u"xlsx"_s))
        return 0;

    const long rssBefore = maxRssKb();
    const Stopwatch t;
    {
        Workbook book(dir.filePath(u"list.xlsx"_s), Workbook::Memory::Constant);
        Worksheet &sheet = book.addSheet(u"Data"_s);
        CellFormat text;
        text.numberFormat = u"@"_s;
        CellFormat bold;
        bold.bold = true;
        bold.border = true;
        CellFormat date;
        date.numberFormat = u"dd/mm/yyyy"_s;
        for (int r = 0; r < 50000; ++r) {
            sheet.write(r, 0, u"U01AB%1"_s.arg(r, 5, 10, QChar(u'0')), text);
            sheet.write(r, 1, u"CANDIDATE NAME %1"_s.arg(r), bold);
            sheet.write(r, 2, 45000.0 + r % 365, date);
            sheet.write(r, 3, double(r));
        }
        book.close();
    }
    std::printf("workbook, 50,000 rows x 4 cells, 3 formats: %.2f s (wall clock), %.2f s (processor time), "
                "peak memory grew by %ld kB\n",
                t.wallSeconds(), t.cpuSeconds(), maxRssKb() - rssBefore);
    return 0;
}
