// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/printingrun.h"

#include "certificates/printing/statusregister.h"
#include "shell/db/failures.h"
#include "shell/core/dates.h"

#include "shell/document/documentrenderer.h"
#include "shell/signing/pdfsignature.h"

#include "certificates/layouts/certificatepdf.h"
#include "certificates/printing/printingchecks.h"
#include "certificates/printing/sheetnumbers.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/db/presence.h"

#include <QDir>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTime>

using namespace Qt::StringLiterals;

namespace sw {

PrintingRun::PrintingRun(Session &session, Prompter &prompter, Progress progress)
    : m_session(session)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
    , m_workstation(Presence::workstation())
{
}

PrintingRun::~PrintingRun() = default;

// The installed screens opened on a fixed day of 2013, which printed sheets dated
// years back after a hurried Enter; the day itself is safe.
QString PrintingRun::defaultIssueDate(const QDate &today) { return formatDmy(today); }

bool PrintingRun::check(PrintSelection &s)
{
    if (isAwardType(s.certType))
        return checkConvocation() && checkAwardBoxes(s) && checkRegister(s);
    return checkConvocation() && checkBoxes(s) && checkRegister(s);
}

bool PrintingRun::checkSelection(PrintSelection &s)
{
    m_selectionOnly = true;
    const auto restore = qScopeGuard([this] { m_selectionOnly = false; });
    return check(s);
}

// The convocation must have exactly one row and a date: the certificate prints it.
bool PrintingRun::checkConvocation()
{
    const std::optional<QString> date = PrintingChecks(m_session, m_prompter, m_selection.mode).convocationDate();
    if (date)
        m_convoDate = *date;
    return date.has_value();
}

bool PrintingRun::checkBoxes(PrintSelection &s)
{
    PrintingChecks checks(m_session, m_prompter, s.mode);
    const bool print = s.mode == PrintMode::Print;
    s.expandAllRanges();
    const QStringList required =
        print && !m_selectionOnly
            ? QStringList{s.degree,    s.collegeFrom, s.collegeTo, s.regnoFrom, s.regnoTo,
                          s.issueDate, s.startNumber, s.endNumber, s.certType}
            : QStringList{s.degree, s.collegeFrom, s.collegeTo, s.regnoFrom, s.regnoTo, s.certType};
    for (const QString &box : required) {
        if (box.trimmed().isEmpty()) {
            m_prompter.info(u"Information should be entered"_s);
            return false;
        }
    }
    if (!checks.degree(s.degree, s.certType))
        return false;
    for (const QString &college : {s.collegeFrom, s.collegeTo}) {
        if (!checks.college(s.degree, college))
            return false;
    }
    if (s.regnoFrom.trimmed() != u"00000000"_s) {
        const auto candidate = checks.candidate(s.regnoFrom, !s.missingPhotographsAccepted);
        if (!candidate)
            return false;
        s.collegeFrom = candidate->college;
    }
    if (print && !checkNumbering(s))
        return false;
    return checks.certificateType(s.certType);
}

// The date of issue, the prefix and the stationery's number range.
bool PrintingRun::checkNumbering(const PrintSelection &s)
{
    if (m_selectionOnly)
        return true;
    PrintingChecks checks(m_session, m_prompter, s.mode);
    return checks.issueDate(s.issueDate) && checks.prefix(s.prefix) && checks.numberRange(s.startNumber, s.endNumber)
           && checks.spoiledNumbers(s);
}

int PrintingRun::countCandidates(const PrintSelection &s) const
{
    if (isAwardType(s.certType))
        return countAwardRows(m_session, s);
    const Database &db = m_session.db();
    const QString op = s.mode == PrintMode::Pdf ? u" <> ''"_s : u" = ''"_s;
    return db
        .scalar(u"select count(*) from convo where fdegree = ? and fcollcode between ? and ? and fregno between "
                "? and ? and convo.factive = 'T' and "_s
                    + db.dialect().coalesce(u"fcertno"_s, u"''"_s) + op + u" and convo.fconvocode = ?"_s,
                {s.degree.trimmed(), s.collegeFrom.trimmed(), s.collegeTo.trimmed(), s.regnoFrom.trimmed(),
                 s.regnoTo.trimmed(), m_session.convoCode})
        .toInt();
}

// Every number the run will use is checked in the register before the first sheet:
// a number used by any convocation, for any sheet, is never given again.
bool PrintingRun::checkCollisions(const PrintSelection &s, int candidates)
{
    const long long last = std::min(s.end(), s.start() + candidates - 1);
    const QStringList lines = ledger().usedNumbers(s.prefix, s.start(), last);
    if (lines.isEmpty())
        return true;
    m_prompter.message(u"Certificate No. already exist!!\n"_s + lines.join(u'\n'), u"Message"_s,
                       PromptIcon::Exclamation);
    return false;
}

bool PrintingRun::checkRegister(PrintSelection &s)
{
    const int candidates = countCandidates(s);
    if (candidates == 0) {
        m_prompter.info(u"No records found for the given range"_s);
        return false;
    }
    if (s.mode == PrintMode::Print && !m_selectionOnly && !checkCollisions(s, candidates))
        return false;
    return true;
}

PrintingResult PrintingRun::run(PrintSelection s, SheetOutput &output)
{
    PrintingResult &result = m_result;
    result = {};
    m_selection = s;
    m_selected = 0;
    m_unconfirmed.clear();
    m_stopRequested = false;
    m_ledger.reset();
    result.nextNumber = std::max(0LL, s.start());
    // Every certificate's wording is laid out for the fit check, the check of the code's place
    // and the drawing: each paragraph once.
    const LayoutReuse layouts;
    try {
        if (!check(s)) {
            if (s.mode == PrintMode::Print)
                result.nextNumber = nextFreeNumber(s);
            return result;
        }
        m_selection = s;
        QDir().mkpath(m_session.folder.filePath(u"CSV/DCPDF"_s));
        m_code = VerificationCode::fromConfig(InstitutionConfig::load(m_session.folder));
        const LayoutProcedure layout = chooseLayout(m_session.instCode, s);
        if (layout == LayoutProcedure::None)
            return result;
        const bool printing = s.mode == PrintMode::Print && s.operation == PrintOperation::Print;
        // Sheets and copies carry signed codes: the key's passphrase is asked before the
        // first, once the run is sure to go (after its question, when it has one).
        const auto unlockCode = [&] {
            if (m_code)
                m_code->unlock(m_session.folder, m_prompter);
        };
        if (printing) {
            output.ready();
            const QStringList pending = ledger().pendingSheets(s.prefix);
            if (!pending.isEmpty())
                m_prompter.message(u"Sheets sent to the printer and never confirmed:\n"_s + pending.join(u'\n')
                                       + u"\nSettle each once you know how it came out (Spoiled Sheets..., or "
                                         "scrollwise-batch stationery settle). Their candidates are passed over "
                                         "until then."_s,
                                   u"Message"_s, PromptIcon::Exclamation);
        }
        report(m_progress, s.operation == PrintOperation::Print ? u"Printing, Please Wait ..."_s
                                                                : u"Generating, Please Wait ..."_s);
        Cycle cycle;
        cycle.issue.issueDate = parseDmy(s.issueDate);
        std::vector<Job> jobs;
        if (isAwardLayout(layout))
            jobs = awardJobs(s, layout);
        else if (layout == LayoutProcedure::Datareport)
            jobs = designerJobs(s, cycle);
        else
            jobs = degreeJobs(s, layout, cycle);
        if (jobs.empty()) {
            m_prompter.info(u"No Records found for the given range"_s);
            return result;
        }
        m_selected = int(jobs.size());
        if (s.mode == PrintMode::Pdf) {
            unlockCode();
            writeCopies(s, jobs, cycle);
        } else if (!printing || goOn(s, int(jobs.size()))) {
            if (printing)
                unlockCode();
            printSheets(s, jobs, cycle, output);
        }
    } catch (const StopError &) {
        showFailure(m_prompter, ErrorForm::Report);
    } catch (const DbError &e) {
        if (e.kind() == DbErrorKind::ServerUnreachable && s.mode == PrintMode::Print
            && s.operation == PrintOperation::Print)
            m_prompter.message(connectionLost(s, e), u"Message"_s, PromptIcon::Critical);
        else
            showFailure(m_prompter, ErrorForm::Report);
    }
    report(m_progress, {});
    // The next sheet is the next free one: a number another workstation used meanwhile is passed.
    if (s.mode == PrintMode::Print && s.operation == PrintOperation::Print && !result.completed) {
        result.nextNumber = std::max(result.nextNumber, result.lastUsed + 1);
        try {
            result.nextNumber = ledger().nextUnused(s.prefix, result.nextNumber);
        } catch (const DbError &) {
            // The run's own message said what failed; the number stays as the run left it.
        }
    }
    return result;
}

std::vector<PrintingRun::Job> PrintingRun::degreeJobs(const PrintSelection &s, LayoutProcedure layout, Cycle &cycle)
{
    cycle.confirmsWithoutAsking = confirmsWithoutAsking(layout);
    cycle.keepsPdfCopy = keepsPdfCopy(layout);
    auto layouts = std::make_shared<DegreeLayouts>(m_session, m_selection);
    std::vector<Job> jobs;
    for (const CertificateRow &row : selectCertificateRows(m_session, s)) {
        Job job;
        job.holder.regno = row.regno;
        job.holder.degree = row.degree;
        job.holder.college = row.collCode;
        job.row = row;
        job.claims = CertificateClaims::of(row);
        job.compose = [layouts, layout, row](const QString &) { return layouts->compose(layout, row); };
        jobs.push_back(std::move(job));
    }
    return jobs;
}

std::vector<PrintingRun::Job> PrintingRun::designerJobs(const PrintSelection &s, Cycle &cycle)
{
    const Database &reader = m_session.db();
    const bool speciality = !reader
                                 .scalar(u"select "_s + reader.dialect().coalesce(u"fspecial"_s, u"''"_s)
                                             + u" from degree where fdegree = ?"_s,
                                         {s.degree.trimmed()})
                                 .toString()
                                 .trimmed()
                                 .isEmpty();
    const QString type = s.certType.trimmed();
    if (type == u"2"_s && !speciality)
        throw StopError(u"Speciality is not identified for this Degree"_s, PromptIcon::Exclamation);
    if (type == u"1"_s && speciality)
        throw StopError(u"Wrong Certificate Type is Selected"_s, PromptIcon::Exclamation);
    auto layout = std::make_shared<DesignerLayout>(m_session.folder, type);
    for (int label = 0; label < DesignerLayout::LabelCount; ++label) {
        if (m_placements[label])
            layout->place(DesignerLayout::Label(label), *m_placements[label]);
    }
    cycle.asksForPhotograph = false;
    cycle.previewAsksToContinue = false;
    cycle.confirmsWithoutAsking = true;
    cycle.regnoCaption = u" for Reg No. - "_s;
    cycle.doneMessage = u"Printing of Certificates Completed Successfully"_s;
    cycle.issue.designed = true;
    cycle.issue.convocationDate = parseDmy(m_convoDate);
    std::vector<Job> jobs;
    for (const CertificateRow &row : selectCertificateRows(m_session, s, RowOrder::Regno)) {
        Job job;
        job.holder.regno = row.regno;
        job.holder.degree = row.degree;
        job.holder.college = row.collCode;
        job.row = row;
        job.claims = CertificateClaims::of(row);
        job.compose = [layout, row](const QString &certNo) { return layout->compose(row, certNo); };
        jobs.push_back(std::move(job));
    }
    // The recent certificates are those of the last designed run.
    if (!jobs.empty() && s.mode == PrintMode::Print && s.operation == PrintOperation::Print)
        ledger().clearRecentCertificates();
    return jobs;
}

// The run's first question names what will be printed, so a wrong date of issue or
// stack of sheets is seen before the first sheet: "12 certificates, DC000211 to
// DC000222, date of issue 12/03/2026: go on?". Yes uses stationery, so No is the default.
bool PrintingRun::goOn(const PrintSelection &s, int candidates)
{
    const long long room = s.end() - s.start() + 1;
    const long long sheets = std::min<long long>(candidates, room);
    QString text = s.numbersOf(sheets) + u", date of issue "_s + s.issueDate.trimmed();
    if (candidates > room)
        text += u" ("_s + QString::number(candidates - room) + u" more candidates wait for new stationery)"_s;
    // Yes uses stationery: a hurried Enter answers No.
    return m_prompter.askRisky(text + u": go on?"_s, u"Certificate print"_s);
}

// The last message of a run that went through: what was printed, and its numbers.
QString PrintingRun::doneText(const QString &done, const PrintSelection &s, const SheetOutput &output) const
{
    const PrintingResult &r = m_result;
    if (r.firstUsed < 0)
        return done + u": no sheet was used."_s;
    QString text =
        done + u": "_s + QString::number(r.printed) + (r.printed == 1 ? u" certificate"_s : u" certificates"_s);
    if (r.spoiled > 0)
        text += u" and "_s + QString::number(r.spoiled) + (r.spoiled == 1 ? u" spoiled sheet"_s : u" spoiled sheets"_s);
    text += u", "_s + s.certificateNumber(r.firstUsed);
    if (r.lastUsed != r.firstUsed)
        text += u" to "_s + s.certificateNumber(r.lastUsed);
    const QString where = output.destination();
    if (!where.isEmpty())
        text += u", "_s + where;
    text += u'.';
    if (r.skipped > 0)
        text += u' ' + QString::number(r.skipped)
                + (r.skipped == 1 ? u" candidate was passed over."_s : u" candidates were passed over."_s);
    if (!r.setAside.isEmpty())
        text += u"\n"_s + r.setAside.join(u'\n');
    return text;
}

bool PrintingRun::stopBeforeSheet(const PrintSelection &s, long long running, int remaining)
{
    if (m_stopRequested) {
        m_prompter.info(howFar());
        return true;
    }
    if (s.mode == PrintMode::Print && s.operation == PrintOperation::Print && running > s.end()) {
        m_prompter.message(u"The certificate range ends at "_s + s.certificateNumber(s.end()) + u"; "_s
                               + QString::number(remaining)
                               + u" candidates are left for the next run with new stationery."_s,
                           u"Certificate print"_s, PromptIcon::Exclamation);
        return true;
    }
    return false;
}

// PDF mode: the copies of certificates printed before, from their stored numbers.
void PrintingRun::writeCopies(const PrintSelection &s, const std::vector<Job> &jobs, const Cycle &cycle)
{
    PrintingResult &result = m_result;
    const DegreeLayouts photographs(m_session, s);
    certificatepdf::CopyWriter copies(m_session.folder);
    if (m_progress)
        copies.setWhileWaiting([this] { report(m_progress, u"Writing the PDF copies, Please Wait ..."_s); });
    // The certificate and its PIN are checked before the first copy is composed.
    std::optional<PdfSigner> signer;
    if (s.sign) {
        signer.emplace(SignatureSettings::load(m_session.folder), m_prompter);
        signer->open();
        copies.setSigner(&*signer);
    }
    // The copies queued when the run stops are written all the same: they were composed.
    const auto writeQueuedCopies = qScopeGuard([&] {
        try {
            copies.flush();
        } catch (const StopError &) {
            showFailure(m_prompter, ErrorForm::Report);
        }
        result.copies = copies.written();
        result.signedCopies = copies.signedCopies();
    });
    StatusRegister places(m_session.db(), m_session.userName);
    bool numberChecked = false;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const Job &job = jobs[i];
        if (m_stopRequested) {
            copies.flush();
            result.copies = copies.written();
        }
        if (stopBeforeSheet(s, 0, int(jobs.size() - i)))
            return;
        report(m_progress, u"Printing Certificate "_s + job.row.certNo + u" for Reg. No. - "_s + job.holder.regno,
               int(i * 100 / jobs.size()));
        if (cycle.asksForPhotograph && !s.missingPhotographsAccepted
            && photographs.photograph(job.holder.regno).isEmpty()
            && !m_prompter.askRisky(u"Photo not found. Do you want to print the certificate without photo?"_s)) {
            ++result.skipped;
            continue;
        }
        Document sheet = job.compose(job.row.certNo);
        if (m_code) {
            m_code->checkPlace(sheet, job.row.certNo);
            if (!numberChecked) // the number printed on every copy stands at the same place
                m_code->checkClearOf(certificatepdf::numberBox(sheet.page),
                                     u"the certificate number of the PDF copies"_s);
            numberChecked = true;
            // A certificate printed before the status lists gets its place now.
            StatusRegister::Entry place;
            if (m_code->isSigned()) {
                WriteScope scope(m_session.db());
                place = places.assign(job.row.certNo, job.holder.regno, job.holder.degree);
                scope.commit();
            }
            m_code->addTo(sheet, codeText(job, job.row.certNo, job.row.printedDate, place.list, place.index));
        }
        copies.add(std::move(sheet), job.row.certNo,
                   certificatepdf::pdfPath(m_session.folder, m_session.instCode, job.row));
        result.copies = copies.written();
    }
    copies.flush();
    result.copies = copies.written();
    result.completed = true;
    report(m_progress, {}, 100);
    result.signedCopies = copies.signedCopies();
    m_prompter.info(u"Printed Successfully: "_s + QString::number(result.copies)
                    + (result.copies == 1 ? u" PDF copy in "_s : u" PDF copies in "_s)
                    + QDir::toNativeSeparators(m_session.folder.filePath(u"CSV/DCPDF"_s))
                    + (signer ? u", "_s + QString::number(result.signedCopies) + u" signed by "_s + signer->signerName()
                              : QString())
                    + u'.');
}

void PrintingRun::printSheets(const PrintSelection &s, const std::vector<Job> &jobs, const Cycle &cycle,
                              SheetOutput &output)
{
    PrintingResult &result = m_result;
    const bool printing = s.operation == PrintOperation::Print;
    const DegreeLayouts photographs(m_session, s);
    const QString certType = s.certType.trimmed().toUpper();
    long long running = s.start();
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const Job &job = jobs[i];
        result.nextNumber = running;
        if (stopBeforeSheet(s, running, int(jobs.size() - i)))
            return;
        const QString certNo = s.certificateNumber(running);
        report(m_progress, u"Printing Certificate "_s + certNo + cycle.regnoCaption + job.holder.regno,
               int(i * 100 / jobs.size()));
        const bool asksForPhotograph =
            cycle.asksForPhotograph && !s.missingPhotographsAccepted && !(!printing && output.previewsWholeRun());
        if (asksForPhotograph && photographs.photograph(job.holder.regno).isEmpty()
            && !m_prompter.askRisky(u"Photo not found. Do you want to print the certificate without photo?"_s)) {
            // The candidate keeps no number and uses none: the next one gets this sheet.
            if (printing)
                ledger().recordPassedOver(job.holder, certType, u"no photograph"_s);
            ++result.skipped;
            continue;
        }
        Document sheet = job.compose(certNo);
        if (m_code)
            m_code->checkPlace(sheet, certNo);
        if (!printing) {
            if (m_code)
                m_code->addTo(sheet, codeText(job, certNo, cycle.issue.issueDate, 0, -1));
            output.preview(sheet, certNo, job.holder.regno);
            ++result.previewed;
            if (cycle.previewAsksToContinue && !output.previewsWholeRun()
                && !m_prompter.askYesNo(u"Do you want to continue"_s))
                return;
            ++running;
            continue;
        }
        // The number is in the register before the sheet can reach the printer. Where the
        // server goes while it is written, the register may or may not hold it: the sheet
        // is not printed, and its number counts as used until a clerk settles it.
        StationeryLedger::ReserveResult reserved;
        try {
            reserved = ledger().reserve(s.prefix, running, certType, job.holder, cycle.issue);
        } catch (const DbError &e) {
            if (e.kind() == DbErrorKind::ServerUnreachable) {
                m_unconfirmed = certNo + u" (Reg. No. "_s + job.holder.regno + u", not printed)"_s;
                usedNumber(running);
                result.nextNumber = running + 1;
            }
            throw;
        }
        if (!reserved.sheet) {
            ledger().recordPassedOver(job.holder, certType, reserved.passedOver);
            m_prompter.message(reserved.passedOver + u": passed over, no sheet is used. Certificate "_s + certNo
                                   + u" goes to the next candidate."_s,
                               u"Message"_s, PromptIcon::Information);
            ++result.skipped;
            continue;
        }
        const StationeryLedger::Reservation &reservation = *reserved.sheet;
        usedNumber(running);
        m_unconfirmed = certNo + u" (Reg. No. "_s + job.holder.regno + u')';
        try {
            // The code holds the place the register gave the sheet; a code that cannot be
            // drawn spoils the sheet as a printer that fails does.
            if (m_code)
                m_code->addTo(sheet, codeText(job, certNo, cycle.issue.issueDate, reservation.statusList,
                                              reservation.statusIndex));
            output.print(sheet, certNo, job.holder.regno);
        } catch (const StopError &e) {
            ledger().spoil(reservation, u"not printed: "_s + e.text());
            setAsideSpoiled(output, reservation);
            m_unconfirmed.clear();
            ++result.spoiled;
            result.nextNumber = running + 1;
            throw StopError(e.text() + u"\nCertificate "_s + certNo
                                + u" is registered as spoiled: take that sheet out of the printer. The next sheet is "_s
                                + s.certificateNumber(running + 1) + u'.',
                            e.icon(), e.title());
        }
        const bool printed = settleSheet(s, reservation, cycle, output);
        result.nextNumber = running + 1;
        if (printed && cycle.keepsPdfCopy) {
            certificatepdf::save(m_session.folder, sheet, certNo,
                                 certificatepdf::pdfPath(m_session.folder, m_session.instCode, job.row));
            ++result.copies;
        }
        ++running;
    }
    result.completed = true;
    report(m_progress, {}, 100);
    if (!printing)
        return;
    result.nextNumber = nextFreeNumber(s);
    sayUnreachedSpoiled(s);
    m_prompter.info(doneText(cycle.doneMessage, s, output));
}

QString PrintingRun::codeText(const Job &job, const QString &certNo, const QDate &issued, int list,
                              long long index) const
{
    CertificateClaims claims = job.claims;
    claims.certNo = certNo;
    claims.regno = job.holder.regno;
    claims.issued = issued;
    claims.statusList = list;
    claims.statusIndex = index;
    return m_code->text(claims);
}

bool PrintingRun::settleSheet(const PrintSelection &s, const StationeryLedger::Reservation &sheet, const Cycle &cycle,
                              SheetOutput &output)
{
    PrintingResult &result = m_result;
    const bool namedSpoiled = s.spoiledNumbers.count(sheet.number) > 0;
    const bool printed =
        !namedSpoiled
        && (cycle.confirmsWithoutAsking || m_prompter.askEither(u"Is certificate printed Successfully?"_s));
    // The sheet stays named as unconfirmed until the register holds the answer: a server
    // lost while it is written leaves the sheet pending, to be settled.
    if (!printed) {
        m_prompter.info(u"Remove the waste certificate and click ok to continue"_s);
        ledger().spoil(sheet, namedSpoiled ? u"named spoiled when the run was started"_s : u"came out badly"_s);
        m_unconfirmed.clear();
        setAsideSpoiled(output, sheet);
        ++result.spoiled;
        return false;
    }
    const QString refused = ledger().confirm(sheet, cycle.issue);
    m_unconfirmed.clear();
    if (refused.isEmpty()) {
        ++result.printed;
        return true;
    }
    // The candidate changed while the sheet printed: the sheet is used up, the run goes on.
    setAsideSpoiled(output, sheet);
    ++result.spoiled;
    m_prompter.message(u"Certificate "_s + sheet.certNo + u" is registered as spoiled: "_s + refused
                           + u". Take that sheet out; the run goes on with the next candidate."_s,
                       u"Message"_s, PromptIcon::Exclamation);
    return false;
}

QString PrintingRun::connectionLost(const PrintSelection &s, const DbError &e) const
{
    QString text = u"The connection to the database server was lost (%1): the run stops here."_s.arg(e.description());
    if (!m_unconfirmed.isEmpty())
        text += u" Certificate %1 was at the printer and is not confirmed: once the server answers again, settle "
                "it (Spoiled Sheets..., or scrollwise-batch stationery settle) as printed or spoiled, as the sheet "
                "came out."_s.arg(m_unconfirmed);
    const long long next = std::max(m_result.nextNumber, m_result.lastUsed + 1);
    return text + u" The next sheet is %1."_s.arg(s.certificateNumber(next));
}

void PrintingRun::setAsideSpoiled(SheetOutput &output, const StationeryLedger::Reservation &sheet)
{
    const QString said = output.spoiled(sheet.certNo, sheet.holder.regno);
    if (!said.isEmpty())
        m_result.setAside << said;
}

void PrintingRun::usedNumber(long long number)
{
    if (m_result.firstUsed < 0)
        m_result.firstUsed = number;
    m_result.lastUsed = number;
}

void PrintingRun::sayUnreachedSpoiled(const PrintSelection &s)
{
    QStringList unreached;
    for (const long long number : s.spoiledNumbers) {
        if (m_result.lastUsed < 0 || number > m_result.lastUsed)
            unreached << s.certificateNumber(number);
    }
    if (!unreached.isEmpty())
        m_prompter.message(u"The run ended before the sheets given as spoiled: "_s + unreached.join(u", "_s)
                               + u". Nothing is registered for them."_s,
                           u"Message"_s, PromptIcon::Exclamation);
}

// One ledger a run: it remembers the run's sheets.
StationeryLedger &PrintingRun::ledger()
{
    if (!m_ledger)
        m_ledger =
            std::make_unique<StationeryLedger>(m_session.db(), m_session.convoCode, m_session.userName, m_workstation);
    return *m_ledger;
}

// The first number after the last one used (or from the start) that no sheet has used.
long long PrintingRun::nextFreeNumber(const PrintSelection &s)
{
    return ledger().nextUnused(s.prefix, m_result.lastUsed >= 0 ? m_result.lastUsed + 1 : std::max(0LL, s.start()));
}

QString PrintingRun::howFar() const
{
    const PrintingResult &r = m_result;
    const PrintSelection &s = m_selection;
    const QString of = QString::number(m_selected);
    if (s.mode == PrintMode::Pdf)
        return u"PDF copies stopped after "_s + QString::number(r.copies + r.skipped) + u" of "_s + of
               + u" certificates; "_s + QString::number(r.copies) + u" copies are written."_s;
    if (s.operation == PrintOperation::Preview)
        return u"Preview stopped after "_s + QString::number(r.previewed + r.skipped) + u" of "_s + of
               + u" certificates."_s;
    const int sheets = r.printed + r.spoiled;
    QString text =
        u"Printing stopped after "_s + QString::number(sheets) + u" of "_s + of + u" sheets ("_s
        + QString::number(r.printed) + u" printed, "_s + QString::number(r.spoiled) + u" spoiled"_s
        + (r.skipped > 0 ? u", "_s + QString::number(r.skipped) + u" candidates passed over"_s : QString()) + u"); "_s
        + (r.lastUsed >= 0 ? u"last number "_s + s.certificateNumber(r.lastUsed) : u"no number was used"_s) + u'.';
    long long next = r.lastUsed >= 0 ? r.lastUsed + 1 : r.nextNumber;
    if (!m_unconfirmed.isEmpty())
        text += u" Certificate "_s + m_unconfirmed
                + u" went to the printer but was not confirmed: it waits in the register; settle it (Spoiled "
                  "Sheets..., or scrollwise-batch stationery settle) once you know how it came out."_s;
    text += u" The next sheet is "_s + s.certificateNumber(next) + u'.';
    if (!r.setAside.isEmpty())
        text += u'\n' + r.setAside.join(u'\n');
    return text;
}

} // namespace sw
