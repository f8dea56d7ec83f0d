// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the printing run, printed as figures:
//   PDF copies (mode "P") of N printed certificates on institution 003's layout, one file each,
//   beside LibreOffice's conversion of the same page when it is installed;
//   confirming N sheets on SQLite (the number stored on the candidate and the register row),
//   the sheets going to a printer that takes no time.
// Usage: certificates_bench [N] [copies|signed|printing]   (1,000, and every figure, when not given;
//   one figure alone is what to run under a profiler)
#include "app/demo/demofolder.h"
#include "certificates/layouts/certificaterow.h"
#include "certificates/layouts/degreelayouts.h"
#include "certificates/printing/printingrun.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/headless.h"
#include "shell/core/inifile.h"
#include "shell/session.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/document/odtwriter.h"
#include "shell/startup/startup.h"
#include "demosession.h"
#include "referencepage.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <time.h>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

class NoPrinter final : public SheetOutput
{
public:
    void print(const Document &, const QString &, const QString &) override { }
    void preview(const Document &, const QString &, const QString &) override { }
};

void addCandidates(Database &db, int count, bool printed)
{
    WriteScope scope(db);
    Statement insert = db.prepare(
        u"insert into convo (fregno, fname, fnamekan, fdegree, fcollcode, fclasscode, fexamdate, fyear, fexamtype, "
        "factive, ffeepaid, fconvocode, fcertno, fdate) values (?, ?, ?, 'BA', 'C001', ?, 'APRIL 2025', '2025', "
        "'1', 'T', 'T', ?, ?, ?)"_s);
    const QString classCode = db.scalar(u"select fclasscode from class"_s).toString();
    for (int i = 0; i < count; ++i) {
        const QString regno = (printed ? u"9BP"_s : u"9BU"_s) + QString::number(i).rightJustified(6, u'0');
        const QString name = u"BENCH CANDIDATE "_s + QString::number(i);
        insert.exec(
            {regno, name, u"¸ÀAvÉÆÃµï"_s, classCode, DemoFolder::currentConvocation(),
             printed ? QVariant(QString(u"BP"_s + QString::number(i).rightJustified(6, u'0'))) : Database::nullText(),
             printed ? QVariant(QDate(2025, 12, 20)) : QVariant()});
    }
    scope.commit();
}

// Answers every question Yes, without a word, and gives `pin` when a PIN or passphrase is
// asked; keeps the last message, which says why a run stopped.
class Answering final : public Prompter
{
public:
    explicit Answering(QString pin = {})
        : m_pin(std::move(pin))
    {
    }
    void message(const QString &, const QString &text, PromptIcon) override { lastMessage = text; }
    PromptAnswer ask(const QString &, const QString &, PromptIcon, PromptButtons, PromptAnswer) override
    {
        return PromptAnswer::Yes;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override
    {
        return m_pin.isEmpty() ? std::nullopt : std::optional<QString>(m_pin);
    }
    std::optional<QString> chooseFile(const QString &, const QString &, const QString &, FileMode) override
    {
        return {};
    }

    QString lastMessage;

private:
    QString m_pin;
};

// A run that did nothing has no figure to print: the bench stops, saying why.
void requireWork(int done, const Answering &prompter, const char *what)
{
    if (done > 0)
        return;
    std::fprintf(stderr, "%s: nothing was done; the run said: %s\n", what, qPrintable(prompter.lastMessage));
    std::exit(1);
}

} // namespace

int main(int argc, char **argv)
{
    prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 1000;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    auto wanted = [&only](const QString &figure) { return only.isEmpty() || only == figure; };

    QTemporaryDir dir;
    const AppFolder folder(dir.filePath(u"app"_s));
    Session session = bench::demoSession(folder);
    addCandidates(session.db(), count, true);
    addCandidates(session.db(), count, false);

    // Photographs are looked for and missing ones asked about; the bench answers Yes silently,
    // and gives the demonstration's passphrase for the key of the verification code (DEMO).
    Answering yes(u"DEMO"_s);

    PrintSelection s;
    s.degree = u"BA"_s;
    s.collegeFrom = s.collegeTo = u"C001"_s;
    s.regnoFrom = u"9BP000000"_s;
    s.regnoTo = u"9BPZZZZZZ"_s;
    s.certType = u"1"_s;
    s.mode = PrintMode::Pdf;
    if (wanted(u"copies"_s)) {
        NoPrinter none;
        const double cpu = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        const PrintingResult r = PrintingRun(session, yes).run(s, none);
        const double seconds = wall.nsecsElapsed() / 1e9;
        const double cpuUsed = cpuSeconds() - cpu;
        requireWork(r.copies, yes, "PDF copies");
        std::printf("PDF copies (mode P), %d certificates:   %8.1f certificates/s wall, %8.1f per processor-second\n",
                    r.copies, r.copies / seconds, r.copies / cpuUsed);
        std::printf("                                          %8.2f ms per certificate wall, %.2f ms of processor\n",
                    1000 * seconds / r.copies, 1000 * cpuUsed / r.copies);
        const double reference = bench::referencePagesPerCpuSecond(dir.path(), 200);
        std::printf("  beside document_bench's page, one file each: %.1f pages per processor-second; copies at %.2f "
                    "of that rate\n",
                    reference, r.copies / cpuUsed / reference);

        if (!QStandardPaths::findExecutable(u"soffice"_s).isEmpty()) {
            PrintSelection e = s;
            e.expandAllRanges();
            const std::vector<CertificateRow> rows = selectCertificateRows(session, e);
            OdtWriter::write(DegreeLayouts(session, e).compose(LayoutProcedure::Tcs, rows.front()),
                             dir.filePath(u"one.odt"_s));
            QElapsedTimer t;
            t.start();
            QProcess soffice;
            soffice.start(u"soffice"_s, {u"--headless"_s, u"--convert-to"_s, u"pdf"_s, u"--outdir"_s,
                                         dir.filePath(u"lo"_s), dir.filePath(u"one.odt"_s)});
            soffice.waitForFinished(300000);
            std::printf("LibreOffice .odt -> PDF, the same page:  %8.2f ms per document\n", t.nsecsElapsed() / 1e6);
        } else {
            std::printf("LibreOffice .odt -> PDF: not installed, no comparison to print\n");
        }
    }
    if (wanted(u"signed"_s)) {
        // Signed copies, the signatures of each batch spread over the machine's cores; the
        // demonstration's throw-away certificate, whose PIN is DEMO.
        Answering pin(u"DEMO"_s);
        PrintSelection signing = s;
        signing.sign = true;
        NoPrinter none;
        const double cpu = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        const PrintingResult r = PrintingRun(session, pin).run(signing, none);
        const double seconds = wall.nsecsElapsed() / 1e9;
        requireWork(r.signedCopies, pin, "Signed PDF copies");
        std::printf("Signed PDF copies, %d certificates:      %8.1f certificates/s wall on %d cores, %.2f ms of "
                    "processor each; 5,000 would take %.0f s\n",
                    r.signedCopies, r.signedCopies / seconds, QThread::idealThreadCount(),
                    1000 * (cpuSeconds() - cpu) / std::max(1, r.signedCopies),
                    5000 * seconds / std::max(1, r.signedCopies));
    }
    if (wanted(u"printing"_s)) {
        s.mode = PrintMode::Print;
        s.regnoFrom = u"9BU000000"_s;
        s.regnoTo = u"9BUZZZZZZ"_s;
        s.prefix = u"BU"_s;
        s.startNumber = u"1"_s;
        s.endNumber = u"999999"_s;
        s.issueDate = u"20/12/2025"_s;
        s.temp = false;
        // Composing alone first, on the same rows, to take it out of the run's figure.
        PrintSelection e = s;
        e.expandAllRanges();
        const std::vector<CertificateRow> rows = selectCertificateRows(session, e);
        QElapsedTimer composing;
        composing.start();
        {
            const DegreeLayouts layouts(session, e);
            for (const CertificateRow &row : rows) {
                layouts.photograph(row.regno);
                const Document sheet = layouts.compose(LayoutProcedure::GenDataReport, row);
            }
        }
        const double composeSeconds = composing.nsecsElapsed() / 1e9;

        NoPrinter none;
        const double cpu = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        const PrintingResult r = PrintingRun(session, yes).run(s, none);
        const double seconds = wall.nsecsElapsed() / 1e9;
        const double cpuUsed = cpuSeconds() - cpu;
        requireWork(r.printed, yes, "Printing run");
        const int sheets = std::max(1, r.printed);
        std::printf("Printing run on SQLite, %d sheets:       %8.3f ms per sheet (composing the page, not drawing "
                    "it; the number stored, register row, commit)\n",
                    r.printed, 1000 * seconds / sheets);
        std::printf("                                          %8.3f ms of processor per sheet\n",
                    1000 * cpuUsed / sheets);
        std::printf("  of which composing:                     %8.3f ms per sheet\n",
                    1000 * composeSeconds / std::max<std::size_t>(1, rows.size()));
        std::printf("  the database part of confirming:        %8.3f ms per sheet (run less composing)\n",
                    1000 * (seconds / sheets - composeSeconds / std::max<std::size_t>(1, rows.size())));
    }
    return 0;
}
