// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/printingcommands.h"

#include "certificates/layouts/verificationcode.h"
#include "certificates/printing/invalidsheetfiles.h"
#include "certificates/printing/printcheck.h"
#include "certificates/printing/printingrun.h"
#include "certificates/printing/sheetoutput.h"
#include "certificates/printing/sheetnumbers.h"
#include "certificates/printing/stationeryledger.h"
#include "certificates/printing/stationeryreport.h"
#include "shell/batch/batchcommand.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/issuerkey.h"
#include "shell/core/stoperror.h"
#include "shell/signing/pdfsignature.h"
#include "shell/db/presence.h"

#include <QRegularExpression>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kPrintedQuestion = u"Is certificate printed Successfully?"_s;

// Answers "Is certificate printed Successfully?": every sheet came out well with
// --printed-ok, otherwise a line read from the terminal or a pipe, one line per
// question (--yes never answers it: a sheet's fate is not a default). The sheets
// named in --spoiled are settled by the run itself and never asked about. Every other
// message and question goes to the console prompter (--yes / --no).
class SheetConfirmingPrompter final : public Prompter
{
public:
    SheetConfirmingPrompter(ConsolePrompter &console, QTextStream &out, bool printedOk)
        : m_console(console)
        , m_out(out)
        , m_printedOk(printedOk)
        , m_in(stdin)
    {
    }

    void setCurrentSheet(const QString &certNo) { m_certNo = certNo; }

    void message(const QString &text, const QString &title, PromptIcon icon) override
    {
        m_console.message(text, title, icon);
    }
    PromptAnswer ask(const QString &text, const QString &title, PromptIcon icon, PromptButtons buttons,
                     PromptAnswer defaultAnswer) override
    {
        if (text != kPrintedQuestion)
            return m_console.ask(text, title, icon, buttons, defaultAnswer);
        if (m_printedOk) {
            m_out << m_certNo << u": printed"_s << Qt::endl;
            return PromptAnswer::Yes;
        }
        m_out << m_certNo << u": "_s << text << u" [y/n] "_s << Qt::flush;
        // One stream for the whole run: a pipe's answers are read one per question.
        const QString line = m_in.readLine();
        // The end of the input is no answer: the sheet waits in the register to be settled.
        if (line.isNull())
            throw UnansweredQuestion(text);
        m_out << Qt::endl;
        return line.trimmed().toLower().startsWith(u'y') ? PromptAnswer::Yes : PromptAnswer::No;
    }
    std::optional<QString> input(const QString &text, const QString &title, const QString &initial) override
    {
        return m_console.input(text, title, initial);
    }
    std::optional<QString> inputSecret(const QString &text, const QString &title) override
    {
        return m_console.inputSecret(text, title);
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
    QTextStream m_in;
    QString m_certNo;
};

PrintSelection selectionFrom(BatchContext &c, PrintMode mode)
{
    c.needConvocation(u"Certificates belong to a convocation"_s);
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
    s.sign = mode == PrintMode::Pdf && c.args.has(u"sign"_s);
    if (mode == PrintMode::Print) {
        // The check names what the selection's certificates lack: it needs no stationery.
        const bool check = c.args.has(u"check"_s);
        s.prefix = c.args.value(u"prefix"_s).trimmed().toUpper();
        s.startNumber = check ? c.args.value(u"start"_s, u"1"_s) : c.required(u"start"_s);
        s.endNumber = check ? c.args.value(u"end"_s, u"999999"_s) : c.required(u"end"_s);
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
         "prize (R and G take degree 99 for every degree; C takes one degree)"_s},
        {u"no-temp"_s, {}, u"institutions 003 and 008: the plain layout instead of the current one"_s},
        {u"diploma"_s, {}, u"word the admission line for a diploma"_s},
        {u"facsimile"_s, {}, u"sign with vc.jpg instead of vcm.jpg"_s},
        {u"margin"_s, u"INCHES"_s, u"widen the text block by this much on both sides"_s}};
    if (mode == PrintMode::Print) {
        o.push_back({u"prefix"_s, u"P"_s, u"text printed before every certificate number"_s});
        o.push_back({u"start"_s, u"N"_s, u"number of the first sheet of the stationery"_s});
        o.push_back({u"end"_s, u"N"_s, u"number of the last sheet of the stationery"_s});
        o.push_back({u"date"_s, u"dd/mm/yyyy"_s, u"date of issue (today when not given)"_s});
    } else {
        o.push_back({u"sign"_s,
                     {},
                     u"sign each copy with the institution's certificate (Institution.ini, [SIGNING]) into "
                     "DC_..._signed.pdf beside it; the PIN is read from standard input"_s});
    }
    return o;
}

void printResult(BatchContext &c, const PrintingResult &r)
{
    c.out << u"printed: "_s << r.printed << u", spoiled: "_s << r.spoiled << u", passed over: "_s << r.skipped
          << u", previewed: "_s << r.previewed << u", PDF copies: "_s << r.copies;
    if (r.signedCopies > 0)
        c.out << u", signed: "_s << r.signedCopies;
    c.out << Qt::endl;
}

void printNumbers(BatchContext &c, const PrintSelection &s, const PrintingResult &r)
{
    if (r.firstUsed >= 0)
        c.out << u"numbers used: "_s << s.certificateNumber(r.firstUsed) << u" to "_s << s.certificateNumber(r.lastUsed)
              << Qt::endl;
    else
        c.out << u"numbers used: none"_s << Qt::endl;
    c.out << u"next certificate number: "_s << s.certificateNumber(r.nextNumber) << Qt::endl;
}

// print --check: the selection's boxes checked as the screen checks them, then
// everything its certificates would lack, one line each; nothing is printed.
int runCheck(BatchContext &c, PrintSelection s)
{
    PrintingRun run(c.session, c.prompter);
    if (!run.checkSelection(s))
        return batchexit::kRefused;
    const QStringList gaps = PrintCheck(c.session).gaps(s);
    for (const QString &gap : gaps)
        c.out << gap << Qt::endl;
    c.out << (gaps.isEmpty() ? u"The check found nothing missing."_s
                             : QString::number(gaps.size()) + u" things missing."_s)
          << Qt::endl;
    return gaps.isEmpty() ? batchexit::kOk : batchexit::kRefused;
}

int runPrint(BatchContext &c)
{
    PrintSelection s = selectionFrom(c, PrintMode::Print);
    if (c.args.has(u"check"_s))
        return runCheck(c, s);
    if (c.args.has(u"spoiled"_s)) {
        const std::vector<long long> spoiled = sheetnumbers::parseList(c.args.value(u"spoiled"_s), s.prefix);
        s.spoiledNumbers = {spoiled.begin(), spoiled.end()};
    }
    SheetConfirmingPrompter prompter(c.prompter, c.out, c.args.has(u"printed-ok"_s));
    Progress progress = [&](const QString &status, int) {
        if (status.startsWith(u"Printing Certificate "_s)) {
            // "Printing Certificate A000017 for Reg. No. - R1": the sheet the next question is about.
            prompter.setCurrentSheet(status.section(u' ', 2, 2));
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
            c.args.value(u"printer"_s) == u"default"_s ? QString() : c.args.value(u"printer"_s));
    PrintingRun run(c.session, prompter, progress);
    PrintingResult r;
    try {
        r = run.run(s, *output);
    } catch (const UnansweredQuestion &e) {
        // What was confirmed stays stored; say how far the run got before the question.
        printResult(c, run.result());
        c.err << run.howFar() << Qt::endl;
        if (e.question() == kPrintedQuestion)
            throw StopError(u"No answer for the question \""_s + e.question()
                            + u"\": --yes does not answer it. Give --printed-ok (with --spoiled for the sheets that "
                              "came out badly), or answer y or n on the terminal."_s);
        throw;
    }
    printResult(c, r);
    printNumbers(c, s, r);
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

long long wholeNumber(const QString &text, const QString &option)
{
    bool ok = false;
    const long long number = text.trimmed().toLongLong(&ok);
    if (!ok || number < 0 || number > sheetnumbers::kHighest)
        throw UsageError(option + u" takes a whole certificate number without the prefix, 0 to "_s
                         + QString::number(sheetnumbers::kHighest) + u"; \""_s + text + u"\" is not one."_s);
    return number;
}

std::pair<long long, long long> numberRange(const QString &from, const QString &to, const QString &what)
{
    const long long first = wholeNumber(from, what);
    const long long last = wholeNumber(to, what);
    if (last < first)
        throw UsageError(what + u": "_s + QString::number(last) + u" is below "_s + QString::number(first)
                         + u"; give the range from its first number."_s);
    return {first, last};
}

int runStationery(BatchContext &c)
{
    const QString prefix = c.args.value(u"prefix"_s).toUpper();
    const StationeryReport report(c.session.db());
    if (c.args.has(u"reconcile"_s)) {
        const QString received = c.required(u"received"_s);
        const QStringList ends = received.split(QRegularExpression(u"\\.\\.|-"_s));
        if (ends.size() != 2)
            throw UsageError(u"--received takes the numbers of the stock received, as N..M (for example 101..500)."_s);
        const auto [first, last] = numberRange(ends[0], ends[1], u"--received"_s);
        bool accounted = false;
        for (const QString &line : report.reconcile(prefix, first, last, &accounted))
            c.out << line << Qt::endl;
        return accounted ? batchexit::kOk : batchexit::kRefused;
    }
    const auto [from, to] = numberRange(c.required(u"from"_s), c.required(u"to"_s), u"--from/--to"_s);
    for (const QString &line : report.lines(prefix, from, to))
        c.out << line << Qt::endl;
    const StationeryLedger ledger(c.session.db(), c.session.convoCode, c.session.userName, {});
    const QStringList pending = ledger.pendingSheets(prefix);
    if (!pending.isEmpty()) {
        c.out << u"Sent to the printer and never confirmed (settle each with stationery settle):"_s << Qt::endl;
        for (const QString &line : pending)
            c.out << u"  "_s << line << Qt::endl;
    }
    return batchexit::kOk;
}

// Registers sheets that came out badly after the run stored their numbers (or
// outside a run): each number is checked first, then all are registered at once.
int runSpoil(BatchContext &c)
{
    c.needConvocation(u"Sheets belong to a convocation's printing"_s);
    const QString prefix = c.args.value(u"prefix"_s).toUpper();
    const std::vector<long long> numbers = sheetnumbers::parseList(c.required(u"numbers"_s), prefix);
    StationeryLedger ledger(c.session.db(), c.session.convoCode, c.session.userName, Presence::workstation());
    InvalidSheetFiles files(c.session, InvalidSheetFiles::Why::Spoiled, c.args.value(u"output"_s));
    for (const long long number : numbers)
        files.note(sheetnumbers::format(prefix, number));
    for (const QString &line : ledger.registerSpoiled(prefix, numbers, c.args.value(u"reason"_s)))
        c.out << line << Qt::endl;
    for (const QString &line : files.moveAside().lines())
        c.out << line << Qt::endl;
    c.out << numbers.size() << (numbers.size() == 1 ? u" sheet"_s : u" sheets"_s) << u" registered as spoiled"_s
          << Qt::endl;
    return batchexit::kOk;
}

// Settles the sheets a run sent to the printer and never confirmed.
int runSettle(BatchContext &c)
{
    c.needConvocation(u"Sheets belong to a convocation's printing"_s);
    if (c.args.has(u"printed"_s) == c.args.has(u"spoiled"_s))
        throw UsageError(u"Say how the sheets came out: --printed or --spoiled."_s);
    const QString prefix = c.args.value(u"prefix"_s).toUpper();
    const std::vector<long long> numbers = sheetnumbers::parseList(c.required(u"numbers"_s), prefix);
    StationeryLedger ledger(c.session.db(), c.session.convoCode, c.session.userName, Presence::workstation());
    InvalidSheetFiles files(c.session, InvalidSheetFiles::Why::Spoiled, c.args.value(u"output"_s));
    if (c.args.has(u"spoiled"_s)) {
        for (const long long number : numbers)
            files.noteSheet(sheetnumbers::format(prefix, number));
    }
    for (const QString &line : ledger.settle(prefix, numbers, c.args.has(u"printed"_s), c.args.value(u"reason"_s)))
        c.out << line << Qt::endl;
    for (const QString &line : files.moveAside().lines())
        c.out << line << Qt::endl;
    c.out << numbers.size() << u" sheets settled"_s << Qt::endl;
    return batchexit::kOk;
}

// A signed code is checked with the public key alone; logged in, the register also says
// whether the certificate still stands. The older code needs the secret and the database.
int runVerifyCode(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"verify-code takes the scanned text as one argument (quote it)."_s);
    const QString scanned = c.args.positionals.front();
    const bool loggedIn = !c.user.isEmpty();
    if (VerificationCode::isOlderCode(scanned)) {
        const auto code = VerificationCode::fromConfig(InstitutionConfig::load(c.folder));
        if (!code || !loggedIn) {
            c.err << u"The older code (SW1|...) is checked with the secret of the [VERIFICATION] section of "
                     "Institution.ini and the database: log in with --user and --password."_s
                  << Qt::endl;
            return batchexit::kRefused;
        }
        const VerificationCode::Verdict verdict = code->verify(c.session.db(), scanned);
        (verdict.genuine ? c.out : c.err) << verdict.text << Qt::endl;
        return verdict.genuine ? batchexit::kOk : batchexit::kRefused;
    }
    std::optional<QByteArray> publicKey;
    if (c.args.has(u"public-key"_s))
        publicKey = IssuerKey::readPublicKey(c.args.value(u"public-key"_s));
    else
        publicKey = IssuerKey::publicKey(c.folder);
    if (!publicKey) {
        c.err << u"No public key to check with: give --public-key (the key or its file), or make the institution's "
                 "pair with \"scrollwise-batch keys --new\"."_s
              << Qt::endl;
        return batchexit::kRefused;
    }
    const CodeVerdict verdict = loggedIn ? VerificationCode::verifySigned(*publicKey, scanned, c.session.db())
                                         : VerificationCode::verifySigned(*publicKey, scanned);
    (verdict.stands() ? c.out : c.err) << verdict.text << Qt::endl;
    if (verdict.stands() && !loggedIn)
        c.out << u"Whether it still stands (not revoked or suspended since) is on the institution's status list: "
                 "its verification page, or this command logged in."_s
              << Qt::endl;
    return verdict.stands() ? batchexit::kOk : batchexit::kRefused;
}

// Checks the signature of each signed copy named: valid, who signed and when, and
// that nothing was changed since; exit 1 when any is not valid.
int runVerifyPdf(BatchContext &c)
{
    if (c.args.positionals.empty())
        throw UsageError(u"verify-pdf takes the signed PDF files to check."_s);
    const SignatureSettings settings = SignatureSettings::load(c.folder);
    bool allValid = true;
    for (const QString &file : c.args.positionals) {
        const SignatureCheck check = verifyPdfSignature(file, settings.database);
        // A signature whose signer could not be checked is not a good copy to a script.
        const bool good = check.valid && check.problem.isEmpty();
        (good ? c.out : c.err) << file << u": "_s << check.describe() << Qt::endl;
        allValid = allValid && good;
    }
    return allValid ? batchexit::kOk : batchexit::kRefused;
}

} // namespace

void addPrintingCommands(BatchTool &tool)
{
    tool.add({.name = u"verify-code"_s,
              .arguments = u"TEXT"_s,
              .summary =
                  u"Says whether the text of a scanned certificate verification code is genuine and whose certificate "
                  "it is, with the institution's public key alone; logged in (--user), also whether it still stands "
                  "(revoked, suspended)."_s,
              .options = {{u"public-key"_s, u"KEY|FILE"_s,
                           u"the institution's public key (base64url) or its file; Keys/issuer.pub of the folder "
                           "when not given"_s}},
              .run = runVerifyCode,
              .logsInWhenAsked = true});
    std::vector<BatchOption> printOptions = selectionOptions(PrintMode::Print);
    printOptions.push_back({u"printer"_s, u"NAME"_s, u"print on this printer (\"default\": the default printer)"_s});
    printOptions.push_back({u"output"_s, u"DIR"_s, u"write each sheet as a PDF into DIR instead of printing"_s});
    printOptions.push_back({u"printed-ok"_s, {}, u"every sheet not listed in --spoiled came out well"_s});
    printOptions.push_back({u"check"_s,
                            {},
                            u"print nothing: list what the certificates of the selection would lack (photographs, "
                            "Kannada texts, exam dates, classes, pictures, settings of Institution.ini, fonts)"_s});
    printOptions.push_back(
        {u"spoiled"_s, u"LIST"_s,
         u"sheets that will come out or came out badly, by number (17), certificate number (A000017) or range "
         "(17-19), comma-separated; registered as spoiled whatever the layout"_s});
    tool.add({.name = u"print"_s,
              .summary =
                  u"Prints degree certificates of active, unprinted candidates on numbered stationery and stores "
                  "each confirmed number."_s,
              .options = printOptions,
              .menuCode = u"N24"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runPrint});
    tool.add({.name = u"verify-pdf"_s,
              .arguments = u"FILE..."_s,
              .summary =
                  u"Checks the signature of signed PDF copies: whether it is valid, who signed and when, and that the "
                  "file was not changed since (the certificate database of Institution.ini, [SIGNING], says whom to "
                  "trust)."_s,
              .run = runVerifyPdf});
    tool.add({.name = u"pdf"_s,
              .summary = u"Writes the PDF copies (CSV/DCPDF) of certificates printed before, for the depository."_s,
              .options = selectionOptions(PrintMode::Pdf),
              .menuCode = u"N2F"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runPdf});
    std::vector<BatchOption> previewOptions = selectionOptions(PrintMode::Print);
    previewOptions.push_back({u"count"_s, u"N"_s, u"how many certificates (1 when not given)"_s});
    previewOptions.push_back({u"output"_s, u"DIR"_s, u"folder for the PNG pages"_s});
    tool.add({.name = u"preview"_s,
              .summary = u"Writes PNG pages of the first N certificates of a selection; stores nothing."_s,
              .options = previewOptions,
              .menuCode = u"N24"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runPreview});
    tool.add({.name = u"stationery"_s,
              .summary =
                  u"Accounts for the stationery of a number range: what became of every sheet (printed, spoiled, void, "
                  "pending, never used), the gaps, and any number used more than once; with --reconcile, whether "
                  "every sheet of the stock received is accounted for."_s,
              .options = {{u"from"_s, u"N"_s, u"first number"_s},
                          {u"to"_s, u"N"_s, u"last number"_s},
                          {u"prefix"_s, u"P"_s, u"certificate prefix"_s},
                          {u"reconcile"_s, {}, u"check the stock received instead of listing a range"_s},
                          {u"received"_s, u"N..M"_s, u"with --reconcile: the numbers of the stock received"_s}},
              .menuCode = u"N24"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runStationery});
    tool.add(
        {.name = u"stationery spoil"_s,
         .summary = u"Registers sheets as spoiled: a candidate who holds a number gives it back and prints again on a "
                    "new sheet; the numbers are used up."_s,
         .options = {{u"numbers"_s, u"LIST"_s, u"the spoiled sheets: numbers or ranges, comma-separated (17,19-21)"_s},
                     {u"prefix"_s, u"P"_s, u"certificate prefix"_s},
                     {u"reason"_s, u"TEXT"_s, u"why, kept in the register"_s},
                     {u"output"_s, u"DIR"_s,
                      u"the folder the sheets were written to (print --output); their files move to its Spoiled/"_s}},
         .menuCode = u"N24"_s,
         .needsLogin = true,
         .needsDatabase = true,
         .run = runSpoil});
    tool.add({.name = u"stationery settle"_s,
              .summary =
                  u"Settles sheets a run sent to the printer and never confirmed (the run was stopped or died): "
                  "--printed stores each number on its candidate, --spoiled uses the number up and the candidate "
                  "prints again on a new sheet."_s,
              .options = {{u"numbers"_s, u"LIST"_s, u"the sheets: numbers or ranges, comma-separated (17,19-21)"_s},
                          {u"prefix"_s, u"P"_s, u"certificate prefix"_s},
                          {u"printed"_s, {}, u"the sheets came out well"_s},
                          {u"spoiled"_s, {}, u"the sheets came out badly or never came out"_s},
                          {u"reason"_s, u"TEXT"_s, u"kept in the register"_s},
                          {u"output"_s, u"DIR"_s,
                           u"the folder the sheets were written to; spoiled sheets' files move to its Spoiled/"_s}},
              .menuCode = u"N24"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runSettle});
}

} // namespace sw
