// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/printingcommands.h"

#include "certificates/layouts/verificationcode.h"
#include "certificates/printing/printingrun.h"
#include "certificates/printing/sheetoutput.h"
#include "certificates/printing/spoiledsheets.h"
#include "certificates/printing/stationeryregister.h"
#include "shell/batch/batchcommand.h"
#include "shell/batch/consoleprompter.h"

#include <QSet>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kPrintedQuestion = u"Is certificate printed Successfully?"_s;

// Answers "Is certificate printed Successfully?" from --spoiled (the sheets that
// came out badly, by running number or full certificate number) and --printed-ok;
// with neither, asks on the terminal. Every other message and question goes to
// the console prompter (--yes / --no).
class SheetConfirmingPrompter final : public Prompter
{
public:
    SheetConfirmingPrompter(ConsolePrompter &console, QTextStream &out, bool printedOk, QSet<QString> spoiled,
                            bool interactive)
        : m_console(console)
        , m_out(out)
        , m_printedOk(printedOk)
        , m_spoiled(std::move(spoiled))
        , m_interactive(interactive)
    {
    }

    void setCurrentSheet(const QString &certNo, long long running)
    {
        m_certNo = certNo;
        m_running = running;
    }

    void message(const QString &text, const QString &title, PromptIcon icon) override
    {
        m_console.message(text, title, icon);
    }
    PromptAnswer ask(const QString &text, const QString &title, PromptIcon icon, PromptButtons buttons,
                     PromptAnswer defaultAnswer) override
    {
        if (text != kPrintedQuestion)
            return m_console.ask(text, title, icon, buttons, defaultAnswer);
        if (m_spoiled.contains(m_certNo) || m_spoiled.contains(QString::number(m_running))) {
            m_out << m_certNo << u": spoiled"_s << Qt::endl;
            return PromptAnswer::No;
        }
        if (m_printedOk || !m_interactive)
            return m_printedOk ? PromptAnswer::Yes : m_console.ask(text, title, icon, buttons, defaultAnswer);
        m_out << m_certNo << u": "_s << text << u" [y/n] "_s << Qt::flush;
        QTextStream in(stdin);
        const QString line = in.readLine();
        // The end of the input is no answer: the sheet is neither confirmed nor spoiled.
        if (line.isNull())
            throw UnansweredQuestion(text);
        return line.trimmed().toLower().startsWith(u'y') ? PromptAnswer::Yes : PromptAnswer::No;
    }
    std::optional<QString> input(const QString &text, const QString &title, const QString &initial) override
    {
        return m_console.input(text, title, initial);
    }
    std::optional<QString> chooseFile(const QString &caption, const QString &startDir, const QString &filter,
                                      FileMode mode) override
    {
        return m_console.chooseFile(caption, startDir, filter, mode);
    }

private:
    ConsolePrompter &m_console;
    QTextStream &m_out;
    bool m_printedOk;
    QSet<QString> m_spoiled;
    bool m_interactive;
    QString m_certNo;
    long long m_running = 0;
};

PrintSelection selectionFrom(BatchContext &c, PrintMode mode)
{
    if (c.session.isAdminConvocation())
        throw UsageError(u"Certificates belong to a convocation: log in with --convo CODE."_s);
    PrintSelection s;
    s.mode = mode;
    s.degree = c.required(u"degree"_s).toUpper();
    s.collegeFrom = c.args.value(u"college-from"_s, u"0"_s).toUpper();
    s.collegeTo = c.args.value(u"college-to"_s, s.collegeFrom).toUpper();
    s.regnoFrom = c.args.value(u"regno-from"_s, u"0"_s).toUpper();
    s.regnoTo = c.args.value(u"regno-to"_s, s.regnoFrom).toUpper();
    s.certType = c.required(u"type"_s).toUpper();
    s.temp = !c.args.has(u"no-temp"_s);
    s.diploma = c.args.has(u"diploma"_s);
    s.facsimile = c.args.has(u"facsimile"_s);
    if (c.args.has(u"margin"_s)) {
        bool ok = false;
        s.marginAdjust = c.args.value(u"margin"_s).toDouble(&ok);
        if (!ok)
            throw UsageError(u"--margin takes inches, for example 0.2; \""_s + c.args.value(u"margin"_s)
                             + u"\" is not a number."_s);
    }
    if (mode == PrintMode::Print) {
        s.prefix = c.args.value(u"prefix"_s);
        s.startNumber = c.required(u"start"_s);
        s.endNumber = c.required(u"end"_s);
        s.issueDate = c.args.value(u"date"_s, PrintingRun::defaultIssueDate());
    } else {
        s.startNumber = u"1"_s;
        s.endNumber = u"999999"_s;
    }
    return s;
}

std::vector<BatchOption> selectionOptions(PrintMode mode)
{
    std::vector<BatchOption> o = {
        {u"degree"_s, u"CODE"_s, u"degree code"_s},
        {u"college-from"_s, u"CODE"_s, u"first college (0, the default, means every college)"_s},
        {u"college-to"_s, u"CODE"_s, u"last college (--college-from when not given)"_s},
        {u"regno-from"_s, u"REGNO"_s, u"first register number (0, the default, means every one)"_s},
        {u"regno-to"_s, u"REGNO"_s, u"last register number (--regno-from when not given)"_s},
        {u"type"_s, u"1|2|3|R|G|C"_s,
         u"certificate type: 1 without speciality, 2 with speciality, 3 doctorate, R rank, G gold medal, C cash "
         "prize (R, G and C take degree 99 for every degree)"_s},
        {u"no-temp"_s, {}, u"institutions 003 and 008: the plain layout instead of the current one"_s},
        {u"diploma"_s, {}, u"word the admission line for a diploma"_s},
        {u"facsimile"_s, {}, u"sign with vc.jpg instead of vcm.jpg"_s},
        {u"margin"_s, u"INCHES"_s, u"widen the text block by this much on both sides"_s}};
    if (mode == PrintMode::Print) {
        o.push_back({u"prefix"_s, u"P"_s, u"text printed before every certificate number"_s});
        o.push_back({u"start"_s, u"N"_s, u"number of the first sheet of the stationery"_s});
        o.push_back({u"end"_s, u"N"_s, u"number of the last sheet of the stationery"_s});
        o.push_back({u"date"_s, u"dd/mm/yyyy"_s, u"date of issue (12/03/2013 when not given)"_s});
    }
    return o;
}

void printResult(BatchContext &c, const PrintingResult &r)
{
    c.out << u"printed: "_s << r.printed << u", spoiled: "_s << r.spoiled << u", skipped: "_s << r.skipped
          << u", previewed: "_s << r.previewed << u", PDF copies: "_s << r.copies << Qt::endl;
}

int runPrint(BatchContext &c)
{
    PrintSelection s = selectionFrom(c, PrintMode::Print);
    QSet<QString> spoiled;
    for (const QString &item : c.args.value(u"spoiled"_s).split(u',', Qt::SkipEmptyParts))
        spoiled.insert(item.trimmed().toUpper());
    const bool printedOk = c.args.has(u"printed-ok"_s);
    SheetConfirmingPrompter prompter(c.prompter, c.out, printedOk, spoiled, !printedOk && spoiled.isEmpty());
    Progress progress = [&](const QString &status, int) {
        if (status.startsWith(u"Printing Certificate "_s)) {
            // "Printing Certificate A000017 for Reg. No. - R1": the sheet the next question is about.
            const QString certNo = status.section(u' ', 2, 2);
            prompter.setCurrentSheet(certNo, certNo.mid(s.prefix.size()).toLongLong());
            c.out << status << Qt::endl;
        }
    };
    std::unique_ptr<SheetOutput> output;
    if (c.args.has(u"output"_s) == c.args.has(u"printer"_s))
        throw UsageError(u"Give either --printer NAME (\"default\" for the default printer) or --output DIR."_s);
    if (c.args.has(u"output"_s))
        output = std::make_unique<FolderOutput>(c.args.value(u"output"_s));
    else
        output = std::make_unique<PrinterOutput>(
            c.args.value(u"printer"_s) == u"default"_s ? QString() : c.args.value(u"printer"_s),
            c.session.folder.filePath(u"Output/preview"_s));
    PrintingRun run(c.session, prompter, progress);
    PrintingResult r;
    try {
        r = run.run(s, *output);
    } catch (const UnansweredQuestion &) {
        // What was confirmed stays stored; say how far the run got before the question.
        printResult(c, run.result());
        c.err << run.howFar() << Qt::endl;
        throw;
    }
    printResult(c, r);
    c.out << u"next certificate number: "_s << s.certificateNumber(r.nextNumber) << Qt::endl;
    return r.completed ? batchexit::kOk : batchexit::kRefused;
}

int runPdf(BatchContext &c)
{
    PrintSelection s = selectionFrom(c, PrintMode::Pdf);
    Progress progress = [&](const QString &status, int) {
        if (status.startsWith(u"Printing Certificate "_s))
            c.out << status << Qt::endl;
    };
    FolderOutput unused(c.session.folder.filePath(u"CSV/DCPDF"_s));
    PrintingRun run(c.session, c.prompter, progress);
    PrintingResult r;
    try {
        r = run.run(s, unused);
    } catch (const UnansweredQuestion &) {
        printResult(c, run.result());
        c.err << run.howFar() << Qt::endl;
        throw;
    }
    printResult(c, r);
    c.out << u"copies in "_s << c.session.folder.filePath(u"CSV/DCPDF"_s) << Qt::endl;
    return r.completed ? batchexit::kOk : batchexit::kRefused;
}

// Previews the first N certificates as PNG pages; nothing is stored.
int runPreview(BatchContext &c)
{
    PrintSelection s = selectionFrom(c, PrintMode::Print);
    s.operation = PrintOperation::Preview;
    bool ok = false;
    const int count = c.args.value(u"count"_s, u"1"_s).toInt(&ok);
    if (!ok || count < 1)
        throw UsageError(u"--count takes a number of certificates, 1 or more."_s);
    int shown = 0;
    // "Do you want to continue" is answered Yes until N certificates are shown.
    class CountingPrompter final : public Prompter
    {
    public:
        CountingPrompter(Prompter &inner, int &shown, int count)
            : m_inner(inner)
            , m_shown(shown)
            , m_count(count)
        {
        }
        void message(const QString &t, const QString &ti, PromptIcon i) override { m_inner.message(t, ti, i); }
        PromptAnswer ask(const QString &t, const QString &ti, PromptIcon i, PromptButtons b, PromptAnswer d) override
        {
            if (t == u"Do you want to continue"_s)
                return ++m_shown < m_count ? PromptAnswer::Yes : PromptAnswer::No;
            return m_inner.ask(t, ti, i, b, d);
        }
        std::optional<QString> input(const QString &t, const QString &ti, const QString &in) override
        {
            return m_inner.input(t, ti, in);
        }
        std::optional<QString> chooseFile(const QString &c, const QString &s, const QString &f, FileMode m) override
        {
            return m_inner.chooseFile(c, s, f, m);
        }

    private:
        Prompter &m_inner;
        int &m_shown;
        int m_count;
    } prompter(c.prompter, shown, count);
    FolderOutput output(c.required(u"output"_s));
    PrintingRun run(c.session, prompter, {});
    run.run(s, output);
    for (const QString &file : output.written())
        c.out << u"written: "_s << file << Qt::endl;
    return output.written().isEmpty() ? batchexit::kRefused : batchexit::kOk;
}

int runStationery(BatchContext &c)
{
    bool okFrom = false;
    bool okTo = false;
    const long long from = c.required(u"from"_s).toLongLong(&okFrom);
    const long long to = c.required(u"to"_s).toLongLong(&okTo);
    if (!okFrom || !okTo || from < 0 || to < 0)
        throw UsageError(u"--from and --to take whole certificate numbers (without the prefix)."_s);
    if (to < from)
        throw UsageError(u"--to ("_s + QString::number(to) + u") is below --from ("_s + QString::number(from)
                         + u"): give the range from its first number."_s);
    if (to - from >= 1000000)
        throw UsageError(u"A register listing covers at most 1,000,000 numbers."_s);
    StationeryRegister reg(c.session.db(), c.session.convoCode, c.session.userName, {});
    for (const QString &line : reg.report(c.args.value(u"prefix"_s).toUpper(), from, to))
        c.out << line << Qt::endl;
    return batchexit::kOk;
}

// Registers sheets that came out badly after the run stored their numbers (or
// outside a run): each number is checked first, then all are registered at once.
int runSpoil(BatchContext &c)
{
    if (c.session.isAdminConvocation())
        throw UsageError(u"Sheets belong to a convocation's printing: log in with --convo CODE."_s);
    const QString prefix = c.args.value(u"prefix"_s).toUpper();
    const std::vector<long long> numbers = SpoiledSheets::parseNumbers(c.required(u"numbers"_s), prefix);
    SpoiledSheets sheets(c.session.db(), c.session.convoCode, c.session.userName, QSysInfo::machineHostName());
    for (const QString &line : sheets.registerSpoiled(prefix, numbers, c.args.value(u"reason"_s)))
        c.out << line << Qt::endl;
    c.out << numbers.size() << u" sheets registered as spoiled"_s << Qt::endl;
    return batchexit::kOk;
}

int runVerifyCode(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"verify-code takes the scanned text as one argument (quote it)."_s);
    const auto code = VerificationCode::fromConfig(InstitutionConfig::load(c.session.folder));
    if (!code) {
        c.err << u"No verification code is configured: the [VERIFICATION] section of Institution.ini needs "
                 "Left, Top, Size and Secret."_s
              << Qt::endl;
        return batchexit::kRefused;
    }
    const VerificationCode::Verdict verdict = code->verify(c.session.db(), c.args.positionals.front());
    (verdict.genuine ? c.out : c.err) << verdict.text << Qt::endl;
    return verdict.genuine ? batchexit::kOk : batchexit::kRefused;
}

} // namespace

void addPrintingCommands(BatchTool &tool)
{
    tool.add({u"verify-code"_s, u"TEXT"_s,
              u"Says whether the text of a scanned certificate verification code is genuine, whose certificate it "
              "is and whether it was since cancelled."_s,
              {}, {}, true, true, runVerifyCode});
    std::vector<BatchOption> printOptions = selectionOptions(PrintMode::Print);
    printOptions.push_back({u"printer"_s, u"NAME"_s, u"print on this printer (\"default\": the default printer)"_s});
    printOptions.push_back({u"output"_s, u"DIR"_s, u"write each sheet as a PDF into DIR instead of printing"_s});
    printOptions.push_back({u"printed-ok"_s, {}, u"every sheet not listed in --spoiled came out well"_s});
    printOptions.push_back(
        {u"spoiled"_s, u"LIST"_s, u"sheets that came out badly, by number (17) or certificate number (A000017), comma-separated"_s});
    tool.add({u"print"_s, {},
              u"Prints degree certificates of active, unprinted candidates on numbered stationery and stores "
              "each confirmed number."_s,
              printOptions, u"N24"_s, true, true, runPrint});
    tool.add({u"pdf"_s, {},
              u"Writes the PDF copies (CSV/DCPDF) of certificates printed before, for the depository."_s,
              selectionOptions(PrintMode::Pdf), u"N2F"_s, true, true, runPdf});
    std::vector<BatchOption> previewOptions = selectionOptions(PrintMode::Print);
    previewOptions.push_back({u"count"_s, u"N"_s, u"how many certificates (1 when not given)"_s});
    previewOptions.push_back({u"output"_s, u"DIR"_s, u"folder for the PNG pages"_s});
    tool.add({u"preview"_s, {}, u"Writes PNG pages of the first N certificates of a selection; stores nothing."_s,
              previewOptions, u"N24"_s, true, true, runPreview});
    tool.add({u"stationery"_s, {},
              u"Lists the stationery register of a number range, with every number not accounted for and every "
              "number used more than once."_s,
              {{u"from"_s, u"N"_s, u"first number"_s},
               {u"to"_s, u"N"_s, u"last number"_s},
               {u"prefix"_s, u"P"_s, u"certificate prefix"_s}},
              u"N24"_s, true, true, runStationery});
    tool.add({u"stationery spoil"_s, {},
              u"Registers sheets as spoiled: a candidate who holds a number gives it back and prints again on a "
              "new sheet; the numbers are used up."_s,
              {{u"numbers"_s, u"LIST"_s, u"the spoiled sheets: numbers or ranges, comma-separated (17,19-21)"_s},
               {u"prefix"_s, u"P"_s, u"certificate prefix"_s},
               {u"reason"_s, u"TEXT"_s, u"why, kept in the register"_s}},
              u"N24"_s, true, true, runSpoil});
}

} // namespace sw
