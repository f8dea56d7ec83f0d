// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/reportscommands.h"

#include "reports/letters/dispatchcommands.h"
#include "reports/lists/certprintedlist.h"
#include "reports/lists/otherlists.h"
#include "reports/lists/photopaste.h"
#include "reports/lists/studentlist.h"
#include "reports/output/reportfile.h"
#include "reports/output/reportoutput.h"
#include "reports/reportoptions.h"
#include "masters/mastercodes.h"
#include "shell/batch/batchcommand.h"
#include "shell/core/stoperror.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

using reportoptions::joined;
using reportoptions::printedSelection;
using reportoptions::rangeSelection;

// One report the command line offers: its name, its screen's menu code, its options.
struct ReportCommand
{
    QString name;
    QString menuCode;
    QString summary;
    std::vector<BatchOption> options;
    // Writes a text report to the path given and returns whether it wrote one, or
    // returns a workbook's path; `path` is empty for workbook reports.
    std::function<bool(BatchContext &, const QString &path, QString *written)> run;
};

BatchOption option(const QString &name, const QString &value, const QString &text) { return {name, value, text}; }

const std::vector<BatchOption> kDegreeCollege = {
    option(u"degree"_s, u"CODE"_s, u"the degree (required)"_s),
    option(u"college-from"_s, u"CODE"_s, u"first college (every college when not given)"_s),
    option(u"college-to"_s, u"CODE"_s, u"last college (the first one when not given)"_s)};

StudentListSelection studentSelection(BatchContext &c)
{
    StudentListSelection s{c.required(u"degree"_s), c.args.value(u"college-from"_s), c.args.value(u"college-to"_s)};
    s.printedOnly = c.args.has(u"printed-only"_s);
    s.activeOnly = c.args.has(u"active-only"_s);
    s.unicodeKannada = kannadaChoice(c);
    s.normaliseColleges();
    if (!MasterCodes(c.session).describe(MasterCodes::Master::Degree, s.degree))
        throw StopError(u"Invalid Course Code"_s, PromptIcon::Exclamation);
    return s;
}

const std::vector<ReportCommand> &reports()
{
    const auto header = [](BatchContext &c) { return institutionPageHeader(c.session); };
    static const std::vector<ReportCommand> list = {
        {u"student-list"_s, u"N31"_s, u"the candidates of a degree by college"_s,
         joined({kDegreeCollege, {option(u"printed-only"_s, {}, u"only candidates with a certificate number"_s)}}),
         [header](BatchContext &c, const QString &path, QString *) {
             return StudentListReports(c.session, c.prompter, header(c)).studentList(studentSelection(c), path);
         }},
        {u"summary"_s,
         u"N31"_s,
         u"eligible, printed and pending candidates of every degree"_s,
         {option(u"college-from"_s, u"CODE"_s, u"first college"_s),
          option(u"college-to"_s, u"CODE"_s, u"last college"_s)},
         [header](BatchContext &c, const QString &path, QString *) {
             StudentListSelection s{{}, c.args.value(u"college-from"_s), c.args.value(u"college-to"_s)};
             s.normaliseColleges();
             return StudentListReports(c.session, c.prompter, header(c)).degreeSummary(s, path);
         }},
        {u"kannada-list"_s, u"N31"_s, u"workbook of a degree's candidates with their Kannada names"_s,
         joined({kDegreeCollege,
                 {option(u"printed-only"_s, {}, u"only printed candidates"_s),
                  option(u"active-only"_s, {}, u"only active candidates"_s),
                  option(u"kannada"_s, u"unicode|legacy"_s,
                         u"the Kannada names in Unicode, or as the legacy codes in BRH Kannada (the default)"_s)}}),
         [header](BatchContext &c, const QString &, QString *written) {
             *written = StudentListReports(c.session, c.prompter, header(c)).kannadaNamesWorkbook(studentSelection(c));
             return !written->isEmpty();
         }},
        {u"convocation-list"_s, u"N31"_s, u"workbook of a degree's candidates by college"_s, kDegreeCollege,
         [header](BatchContext &c, const QString &, QString *written) {
             *written = StudentListReports(c.session, c.prompter, header(c)).convocationWorkbook(studentSelection(c));
             return !written->isEmpty();
         }},
        {u"ledger"_s, u"N31"_s, u"workbook ledger with photographs (--yes: rank holders only)"_s,
         joined({kDegreeCollege,
                 {option(u"printed-only"_s, {}, u"only printed candidates"_s),
                  option(u"active-only"_s, {}, u"only active candidates"_s)}}),
         [header](BatchContext &c, const QString &, QString *written) {
             *written = StudentListReports(c.session, c.prompter, header(c)).ledgerWorkbook(studentSelection(c));
             return !written->isEmpty();
         }},
        {u"printed-list"_s, u"N33"_s, u"certificates printed between two dates, by date of issue"_s,
         joined({reportoptions::dates(), reportoptions::ranges()}),
         [header](BatchContext &c, const QString &path, QString *) {
             return CertPrintedReports(c.session, c.prompter, header(c)).printedList(printedSelection(c), path);
         }},
        {u"printed-count"_s, u"N33"_s, u"certificates printed between two dates, per convocation"_s,
         joined({reportoptions::dates(), reportoptions::ranges()}),
         [header](BatchContext &c, const QString &path, QString *) {
             return CertPrintedReports(c.session, c.prompter, header(c)).countPerConvocation(printedSelection(c), path);
         }},
        {u"printed-ledger"_s, u"N33"_s,
         u"the convocation ledger on 120 columns (--yes: printed ones of the dates only)"_s,
         joined({reportoptions::dates(), reportoptions::ranges()}),
         [header](BatchContext &c, const QString &path, QString *) {
             return CertPrintedReports(c.session, c.prompter, header(c)).convocationLedger(printedSelection(c), path);
         }},
        {u"cancelled-list"_s, u"N35"_s, u"certificates cancelled between two dates"_s,
         joined({reportoptions::dates(), reportoptions::ranges()}),
         [header](BatchContext &c, const QString &path, QString *) {
             return OtherListReports(c.session, c.prompter, header(c)).cancelledList(printedSelection(c), path);
         }},
        {u"activated-list"_s, u"N32"_s, u"candidates with the photograph check"_s,
         joined({reportoptions::ranges(),
                 {option(u"pending-photos"_s, {}, u"only candidates without a photograph"_s),
                  option(u"active-only"_s, {}, u"only active candidates"_s)}}),
         [header](BatchContext &c, const QString &path, QString *) {
             return OtherListReports(c.session, c.prompter, header(c))
                 .activatedList(rangeSelection(c), {c.args.has(u"pending-photos"_s), c.args.has(u"active-only"_s)},
                                path);
         }},
        {u"online-list"_s, u"N39"_s, u"candidates of every convocation who paid online"_s,
         joined({reportoptions::ranges(), {option(u"not-active-only"_s, {}, u"only candidates not yet active"_s)}}),
         [header](BatchContext &c, const QString &path, QString *) {
             return OtherListReports(c.session, c.prompter, header(c))
                 .onlineList(rangeSelection(c), c.args.has(u"not-active-only"_s), path);
         }},
        {u"abc-missing"_s, u"N3A"_s, u"the convocation's candidates without an ABC ID"_s,
         joined({reportoptions::ranges(), {option(u"active-only"_s, {}, u"only active candidates"_s)}}),
         [header](BatchContext &c, const QString &path, QString *) {
             return OtherListReports(c.session, c.prompter, header(c))
                 .abcMissingList(rangeSelection(c), c.args.has(u"active-only"_s), path);
         }},
        {u"mismatch"_s,
         u"N36"_s,
         u"codes of candidates missing from their masters"_s,
         {},
         [header](BatchContext &c, const QString &path, QString *) {
             OtherListReports(c.session, c.prompter, header(c)).mismatchList(path);
             return true;
         }},
    };
    return list;
}

// Text reports go to --out (a .pdf gets the document printer's pages), or to
// standard output; a workbook is written under Output/ and copied to --out. The
// messages go to standard error either way, so standard output holds only the report.
int runReport(const ReportCommand &report, BatchContext &c)
{
    c.prompter.keepOutputForReport();
    const QString out = c.args.value(u"out"_s);
    QString written;
    const bool workbookReport =
        report.name == u"kannada-list"_s || report.name == u"convocation-list"_s || report.name == u"ledger"_s;
    if (workbookReport) {
        if (!report.run(c, {}, &written))
            return batchexit::kRefused;
        if (!out.isEmpty()) {
            QFile::remove(out);
            if (!QFile::copy(written, out))
                throw StopError(u"The workbook "_s + written + u" could not be copied to "_s + out + u'.');
            written = out;
        }
        c.out << written << Qt::endl;
        return batchexit::kOk;
    }
    return deliverTextReport(c, out, [&](const QString &textPath) { return report.run(c, textPath, &written); });
}

} // namespace

int deliverTextReport(BatchContext &c, const QString &out, const std::function<bool(const QString &)> &write)
{
    c.prompter.keepOutputForReport();
    const bool toPdf = out.endsWith(u".pdf"_s, Qt::CaseInsensitive);
    ReportFile scratch(c.session.folder);
    const QString textPath = out.isEmpty() || toPdf ? scratch.path() : out;
    bool wrote = false;
    try {
        wrote = write(textPath);
        if (wrote && toPdf)
            writeReportPdf(textPath, out);
        if (wrote && out.isEmpty()) {
            QFile file(textPath);
            if (file.open(QIODevice::ReadOnly))
                c.out << QString::fromLatin1(file.readAll());
        }
    } catch (...) {
        scratch.remove();
        throw;
    }
    scratch.remove();
    if (!wrote)
        return batchexit::kRefused;
    if (!out.isEmpty())
        c.out << out << Qt::endl;
    return batchexit::kOk;
}

void addReportsCommands(BatchTool &tool)
{
    for (const ReportCommand &report : reports()) {
        std::vector<BatchOption> options = report.options;
        options.push_back(
            option(u"out"_s, u"FILE"_s,
                   u"where to write it (.Prn text or .pdf; .xlsx for workbooks); standard output when not given"_s));
        tool.add({.name = u"report "_s + report.name,
                  .summary = u"Report: "_s + report.summary + u'.',
                  .options = options,
                  .menuCode = report.menuCode,
                  .needsLogin = true,
                  .needsDatabase = true,
                  .run = [&report](BatchContext &c) { return runReport(report, c); }});
    }
    tool.add(
        {.name = u"photo-paste"_s,
         .summary = u"Writes the photo paste sheet (Output/PhotoPaste.odt, and --out FILE.pdf) for the ranges given."_s,
         .options = joined({reportoptions::ranges(),
                            {option(u"regno-from"_s, u"REGNO"_s, u"first register number"_s),
                             option(u"regno-to"_s, u"REGNO"_s, u"last register number"_s),
                             option(u"fresh-only"_s, {}, u"only candidates not yet marked as pasted"_s),
                             option(u"update"_s, {}, u"mark the active candidates of the ranges as pasted"_s),
                             option(u"active-only"_s, {}, u"only active candidates"_s),
                             option(u"out"_s, u"FILE.pdf"_s, u"also write the sheet as PDF"_s)}}),
         .menuCode = u"N37"_s,
         .needsLogin = true,
         .needsDatabase = true,
         .run = [](BatchContext &c) {
             PhotoPasteSelection s{c.args.value(u"degree-from"_s),  c.args.value(u"degree-to"_s),
                                   c.args.value(u"college-from"_s), c.args.value(u"college-to"_s),
                                   c.args.value(u"regno-from"_s),   c.args.value(u"regno-to"_s)};
             s.freshOnly = c.args.has(u"fresh-only"_s);
             s.update = c.args.has(u"update"_s);
             s.activeOnly = c.args.has(u"active-only"_s);
             s.normaliseRanges();
             const QString path = PhotoPasteSheet(c.session, c.prompter).run(s, c.args.value(u"out"_s));
             if (path.isEmpty())
                 return batchexit::kRefused;
             c.out << path << Qt::endl;
             return batchexit::kOk;
         }});
    tool.add({.name = u"csv-export"_s,
              .summary = u"Writes CSV/CERTDET<ddmmyyyy>.csv: the certificates printed between two dates."_s,
              .options = joined({reportoptions::dates(), reportoptions::ranges()}),
              .menuCode = u"N33"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = [](BatchContext &c) {
                  CertPrintedReports r(c.session, c.prompter, {});
                  const int count = r.certificateDetailsCsv(printedSelection(c));
                  if (count < 0)
                      return batchexit::kRefused;
                  c.out << c.session.folder.filePath(CertPrintedReports::csvFileName(QDate::currentDate())) << Qt::endl;
                  return batchexit::kOk;
              }});
    tool.add(
        {.name = u"online-update"_s,
         .summary =
             u"Writes the certificate numbers printed between two dates back to the portal (--yes: only candidates "
             "who paid online)."_s,
         .options = joined({reportoptions::dates(), reportoptions::ranges()}),
         .menuCode = u"N33"_s,
         .needsLogin = true,
         .needsDatabase = true,
         .run = [](BatchContext &c) {
             CertPrintedReports r(c.session, c.prompter, {});
             const int count =
                 r.updatePortal(printedSelection(c), [&c](const QString &status, int) { c.out << status << Qt::endl; });
             return count < 0 ? batchexit::kRefused : batchexit::kOk;
         }});
    addDispatchCommands(tool);
}

} // namespace sw
