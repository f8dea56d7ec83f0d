// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/letters/dispatchcommands.h"

#include "reports/labels/addresslabels.h"
#include "reports/letters/coveringletters.h"
#include "reports/nad/digilockerexport.h"
#include "reports/nad/nadexport.h"
#include "reports/output/reportfile.h"
#include "reports/reportoptions.h"
#include "reports/reportscommands.h"
#include "reports/output/reportoutput.h"
#include "shell/batch/batchcommand.h"
#include "shell/core/stoperror.h"
#include "shell/workbook/workbook.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

using reportoptions::joined;
using reportoptions::printedSelection;

// --out for a document: FILE.odt or FILE.pdf; the .odt under Output/ when not given.
void documentPaths(BatchContext &c, const QString &defaultName, QString *odt, QString *pdf)
{
    const QString out = c.args.value(u"out"_s);
    if (out.isEmpty())
        *odt = c.session.folder.outputPath(defaultName);
    else if (out.endsWith(u".pdf"_s, Qt::CaseInsensitive))
        *pdf = out;
    else if (out.endsWith(u".odt"_s, Qt::CaseInsensitive))
        *odt = out;
    else
        throw UsageError(u"--out takes a .odt or a .pdf file, not "_s + out);
}

NadSelection nadSelection(BatchContext &c)
{
    NadSelection s{c.args.value(u"degree-from"_s), c.args.value(u"degree-to"_s), c.args.value(u"college-from"_s),
                   c.args.value(u"college-to"_s)};
    s.normaliseRanges();
    return s;
}

int digiLockerExport(BatchContext &c)
{
    QString out = c.args.value(u"out"_s);
    if (out.isEmpty())
        out = c.session.folder.outputPath(u"DigiLocker.zip"_s);
    else if (!out.endsWith(u".zip"_s, Qt::CaseInsensitive))
        throw UsageError(u"--out takes a .zip file for the DigiLocker layout, not "_s + out);
    const DigiLockerResult result = DigiLockerExport(c.session).run(nadSelection(c), out);
    c.prompter.message(result.summary(), u"NAD Export"_s,
                       result.refused.empty() ? PromptIcon::Information : PromptIcon::Exclamation);
    // As the imports: a run that wrote nothing, or left rows out, is not a success to a script.
    return result.written > 0 && result.refused.empty() ? batchexit::kOk : batchexit::kRefused;
}

int nadExport(BatchContext &c)
{
    const QString layout = c.required(u"layout"_s).toLower();
    if (layout == u"digilocker"_s)
        return digiLockerExport(c);
    if (layout != u"cdsl"_s && layout != u"nsdl"_s)
        throw UsageError(u"--layout is cdsl, nsdl or digilocker, not "_s + c.args.value(u"layout"_s));
    const bool cdsl = layout == u"cdsl"_s;
    NadExport run(c.session);
    QString out = c.args.value(u"out"_s);
    if (out.isEmpty())
        out = run.defaultPath(cdsl);
    else if (!out.endsWith(u".xlsx"_s, Qt::CaseInsensitive))
        throw UsageError(u"--out takes an .xlsx file, not "_s + out);
    int rows = 0;
    if (cdsl) {
        NadSelection s = nadSelection(c);
        s.unicodeKannada = kannadaChoice(c);
        rows = run.Gen_NAD_Report_CDSL(s, out);
        const QString missing = run.missingMessage(out);
        if (!missing.isEmpty())
            c.prompter.message(missing, u"NAD Export"_s, PromptIcon::Exclamation);
    } else {
        rows = run.Gen_NAD_Report_NSDL(c.args.has(u"pass-only"_s), out);
    }
    c.out << out << u" ("_s << rows << u" rows)"_s << Qt::endl;
    return batchexit::kOk;
}

int letters(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"letters takes one KIND: "_s + CoveringLetters::kindNames().join(u", "_s));
    const auto kind = CoveringLetters::kindFromName(c.args.positionals.first());
    if (!kind)
        throw UsageError(u"Unknown kind of letter \""_s + c.args.positionals.first() + u"\": use one of "_s
                         + CoveringLetters::kindNames().join(u", "_s));
    const PrintedListSelection s = printedSelection(c);
    CoveringLetters run(c.session, c.prompter, institutionPageHeader(c.session));
    const QString out = c.args.value(u"out"_s);
    if (*kind == CoveringLetters::Kind::List) {
        return deliverTextReport(
            c, out, [&](const QString &textPath) { return run.dispatchList(s, c.args.has(u"eject"_s), textPath); });
    }
    QString odt;
    QString pdf;
    static const QStringList names = {
        {}, u"CollegeLetters.odt"_s, u"CheckList.odt"_s, u"StudentLetters.odt"_s, u"StudentLetters.odt"_s};
    documentPaths(c, names[int(*kind)], &odt, &pdf);
    if (!run.writeDocument(*kind, s, odt, pdf))
        return batchexit::kRefused;
    c.out << (odt.isEmpty() ? pdf : odt) << Qt::endl;
    return batchexit::kOk;
}

int labels(BatchContext &c)
{
    LabelSelection s{printedSelection(c), c.args.value(u"cert-from"_s), c.args.value(u"cert-to"_s)};
    s.tatkalOnly = c.args.has(u"tatkal-only"_s);
    s.postOnly = c.args.has(u"post-only"_s);
    s.normaliseRanges();
    QString odt;
    QString pdf;
    documentPaths(c, u"AddressLabels.odt"_s, &odt, &pdf);
    AddressLabels run(c.session, c.prompter);
    const std::optional<Document> sheet = run.compose(s);
    if (!sheet)
        return batchexit::kRefused;
    run.write(*sheet, odt, pdf);
    c.out << (odt.isEmpty() ? pdf : odt) << u" ("_s << run.labels() << u" labels)"_s << Qt::endl;
    return batchexit::kOk;
}

} // namespace

void addDispatchCommands(BatchTool &tool)
{
    tool.add(
        {u"nad-export"_s,
         {},
         u"Writes the depository upload workbook (Output/NAD_CDSL.xlsx or NAD_NSDL.xlsx unless --out): CDSL, "
         "one row per printed certificate of the ranges whose PDF copy is in CSV/DCPDF (the others, and those "
         "whose signed copy's signature is not valid, are listed beside the workbook); NSDL, every degree and "
         "every result of the result tables. DigiLocker: the award CSV in the columns of DigiLocker.csv and the "
         "signed copy of each row, in ZIP files of at most 10 MB (Output/DigiLocker.zip unless --out); a row "
         "that fails its checks is listed with the reason and left out."_s,
         joined({{{u"layout"_s, u"cdsl|nsdl|digilocker"_s, u"the depository's layout (required)"_s}},
                 reportoptions::ranges(),
                 {{u"pass-only"_s, {}, u"NSDL: passes only"_s},
                  {u"kannada"_s, u"unicode|legacy"_s,
                   u"CDSL: unicode fills the regional-language name columns with the Kannada names in Unicode; "
                   "legacy (the default) leaves them empty, as the layout has them"_s},
                  {u"out"_s, u"FILE.xlsx|FILE.zip"_s, u"where to write the workbook (the ZIP for DigiLocker)"_s}}}),
         u"N3A"_s,
         true,
         true,
         nadExport});
    tool.add({.name = u"letters"_s,
              .arguments = u"KIND"_s,
              .summary =
                  u"Writes the dispatch papers of certificates printed between two dates. KIND: list (register and "
                  "certificate numbers per college, text), college (a covering letter per college), checklist, student "
                  "(a letter per candidate with a fee record, with the office copy), student-no-ack."_s,
              .options = joined({reportoptions::dates(),
                                 reportoptions::ranges(),
                                 {{u"eject"_s, {}, u"list: each college on a new page"_s},
                                  {u"out"_s, u"FILE"_s,
                                   u"list: .Prn or .pdf (standard output when not given); the others: .odt or .pdf "
                                   "(Output/<name>.odt when not given)"_s}}}),
              .menuCode = u"N38"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = letters});
    tool.add({.name = u"labels"_s,
              .summary =
                  u"Writes the address labels, two across on A4, for certificates printed between two dates whose "
                  "candidates have a fee record."_s,
              .options = joined({reportoptions::dates(),
                                 reportoptions::ranges(),
                                 {{u"cert-from"_s, u"CERTNO"_s, u"first certificate number"_s},
                                  {u"cert-to"_s, u"CERTNO"_s, u"last certificate number"_s},
                                  {u"tatkal-only"_s, {}, u"only candidates of the Tatkal scheme"_s},
                                  {u"post-only"_s, {}, u"only candidates who receive the certificate by post"_s},
                                  {u"out"_s, u"FILE"_s, u".odt or .pdf (Output/AddressLabels.odt when not given)"_s}}}),
              .menuCode = u"N34"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = labels});
}

} // namespace sw
