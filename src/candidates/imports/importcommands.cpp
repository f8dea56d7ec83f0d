// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/importcommands.h"

#include "candidates/imports/autonomousimport.h"
#include "candidates/imports/directoryimport.h"
#include "candidates/imports/onlineimport.h"
#include "candidates/imports/resultimport.h"
#include "shell/batch/batchcommand.h"
#include "shell/core/stoperror.h"
#include "shell/online/onlinelink.h"
#include "shell/online/portalschema.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Prints a run's progress as a line every few percent, not one per row: the latest
// status text with the percentage reached. Status texts that name a new file or
// stage are printed when they come.
class ProgressPrinter
{
public:
    explicit ProgressPrinter(QTextStream &out, int step = 5)
        : m_out(out)
        , m_step(step)
    {
    }
    Progress callback()
    {
        return [this](const QString &status, int percent) { show(status, percent); };
    }

private:
    void show(const QString &status, int percent)
    {
        if (!status.isEmpty())
            m_last = status;
        if (percent <= 0) {
            m_next = m_step;
            if (!status.isEmpty())
                m_out << status << Qt::endl;
            return;
        }
        if (percent < m_next)
            return;
        m_out << percent << u"% "_s << m_last << Qt::endl;
        m_next = (percent / m_step + 1) * m_step;
    }
    QTextStream &m_out;
    int m_step;
    int m_next = 0;
    QString m_last;
};

QString onePath(const BatchContext &c, const QString &usage)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(usage);
    return c.args.positionals.first();
}

// The counts, the reject file and the warnings; a run that rejected records ends with 1,
// so a script notices what a clerk would see in the message.
int printCounts(const BatchContext &c, const ImportCounts &counts)
{
    c.out << counts.summaryLine() << Qt::endl;
    if (!counts.rejectFile.isEmpty())
        c.err << u"skipped and rejected records: "_s << counts.rejectFile << Qt::endl;
    for (const QString &warning : counts.warnings)
        c.err << warning << Qt::endl;
    return counts.rejected > 0 ? batchexit::kRefused : batchexit::kOk;
}

int runImportFile(BatchContext &c)
{
    const QString path = onePath(c, u"import-file needs the result file: scrollwise-batch import-file FILE.cnv"_s);
    c.needConvocation(u"This import works on a convocation"_s);
    ProgressPrinter printer(c.out);
    ResultFileImport run(c.session, c.prompter, printer.callback());
    const auto counts = run.run(path);
    if (!counts)
        return batchexit::kRefused;
    return printCounts(c, *counts);
}

int runImportDir(BatchContext &c)
{
    const QString folder = onePath(c, u"import-dir needs the folder: scrollwise-batch import-dir DIR"_s);
    c.needConvocation(u"This import works on a convocation"_s);
    DirectoryImport::Options options;
    options.uploadToOnline = c.args.has(u"upload"_s) || c.args.has(u"online-only"_s);
    options.onlineOnly = c.args.has(u"online-only"_s);
    ProgressPrinter printer(c.out);
    DirectoryImport run(c.session, c.prompter, printer.callback());
    run.onCaption([&c](const QString &caption) { c.out << caption << Qt::endl; });
    const auto outcomes = run.run(folder, options);
    if (!outcomes)
        return batchexit::kRefused;
    int exit = batchexit::kOk;
    for (const DirectoryImport::FileOutcome &f : *outcomes) {
        c.out << f.file << u": "_s;
        if (f.skipped) {
            c.out << u"skipped (no kind in its name)"_s << Qt::endl;
            continue;
        }
        if (!f.refused.isEmpty()) {
            c.out << u"refused: "_s << f.refused << Qt::endl;
            exit = batchexit::kRefused;
            continue;
        }
        c.out << f.counts.summaryLine();
        if (options.uploadToOnline)
            c.out << u", uploaded: "_s << f.uploaded.inserted + f.uploaded.updated + f.uploaded.unchanged << u" ("_s
                  << f.uploaded.inserted << u" new, "_s << f.uploaded.updated << u" updated, "_s << f.uploaded.refused
                  << u" refused)"_s;
        c.out << Qt::endl;
        if (!f.counts.rejectFile.isEmpty())
            c.err << f.file << u": skipped and rejected records: "_s << f.counts.rejectFile << Qt::endl;
        if (f.counts.rejected > 0 || f.uploaded.refused > 0)
            exit = batchexit::kRefused;
    }
    return exit;
}

int runImportAuto(BatchContext &c)
{
    const QString path = onePath(c, u"import-auto needs the file: scrollwise-batch import-auto FILE --univ U "
                                    "--college C --degree D"_s);
    c.needConvocation(u"This import works on a convocation"_s);
    ProgressPrinter printer(c.out);
    AutonomousImport run(c.session, c.prompter, printer.callback());
    const auto counts = run.run({c.args.value(u"univ"_s), c.args.value(u"college"_s), c.args.value(u"degree"_s)}, path);
    if (!counts)
        return batchexit::kRefused;
    return printCounts(c, *counts);
}

int runImportOnline(BatchContext &c)
{
    ProgressPrinter printer(c.out);
    OnlineApplicationImport run(c.session, c.prompter, printer.callback());
    const auto counts = run.run();
    if (!counts)
        return batchexit::kRefused;
    c.out << u"portal rows: "_s << counts->remoteRows << u", new applications: "_s << counts->newApplications
          << u", already taken: "_s << counts->knownApplications << u", rejected: "_s << counts->rejected
          << u", candidates marked paid: "_s << counts->candidatesMarked << Qt::endl;
    return counts->rejected > 0 ? batchexit::kRefused : batchexit::kOk;
}

int runPortalInit(BatchContext &c)
{
    const QString database = c.required(u"database"_s);
    auto server = OnlineLink::connect(u"QMYSQL"_s, c.required(u"server"_s), c.required(u"user"_s),
                                      c.args.value(u"password"_s), {});
    portalschema::createDatabase(*server, database);
    portalschema::create(*server);
    c.out << u"portal tables dctran and dcstud ready in "_s << database << Qt::endl;
    return batchexit::kOk;
}

} // namespace

void addImportCommands(BatchTool &tool)
{
    tool.add({.name = u"import-file"_s,
              .arguments = u"FILE.cnv"_s,
              .summary = u"Imports one result file into the convocation of --convo: candidates (name holds STU), "
                         "degrees (DEG) or colleges (COL)."_s,
              .menuCode = u"N28"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runImportFile});
    tool.add({.name = u"import-dir"_s,
              .arguments = u"DIR"_s,
              .summary =
                  u"Imports every .cnv file of DIR and its subfolders by the kind their names end in (STU, DEG, COL); "
                  "questions about candidates of another convocation are answered by --yes / --no."_s,
              .options = {{u"upload"_s,
                           {},
                           u"also upload the candidates to the portal's dcstud (new rows added, known ones updated)"_s},
                          {u"online-only"_s, {}, u"only upload to the portal; change nothing locally"_s}},
              .menuCode = u"N21"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runImportDir});
    tool.add({.name = u"import-auto"_s,
              .arguments = u"FILE"_s,
              .summary = u"Imports an autonomous college's \"|\"-separated file with the codes given."_s,
              .options = {{u"univ"_s, u"CODE"_s, u"university code"_s},
                          {u"college"_s, u"CODE"_s, u"college code"_s},
                          {u"degree"_s, u"CODE"_s, u"degree code"_s}},
              .menuCode = u"N2C"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runImportAuto});
    tool.add({.name = u"import-online"_s,
              .summary = u"Takes the portal's paid applications into convofee and marks the candidates' fees paid."_s,
              .menuCode = u"N2D"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runImportOnline});
    tool.add({.name = u"portal-init"_s,
              .summary = u"Creates the portal database and its tables dctran and dcstud on a MySQL/MariaDB server."_s,
              .options = {{u"server"_s, u"HOST[:PORT]"_s, u"the portal's server"_s},
                          {u"user"_s, u"NAME"_s, u"a login that may create databases and tables"_s},
                          {u"password"_s, u"PW"_s, u"its password"_s},
                          {u"database"_s, u"NAME"_s, u"the portal database (created when missing)"_s}},
              .run = runPortalInit});
}

} // namespace sw
