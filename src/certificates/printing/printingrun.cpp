// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/printingrun.h"

#include "certificates/layouts/certificatepdf.h"
#include "certificates/printing/sheetnumbers.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"

#include <QDir>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTime>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

bool isValidType(const QString &type)
{
    static const QStringList types = {u"1"_s, u"2"_s, u"3"_s, u"R"_s, u"C"_s, u"G"_s};
    return types.contains(type.trimmed().toUpper());
}

bool isWholeNumber(const QString &text)
{
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok);
    return ok && value >= 0;
}

} // namespace

PrintingRun::PrintingRun(Session &session, Prompter &prompter, Progress progress)
    : m_session(session)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
    , m_workstation(QSysInfo::machineHostName())
{
}

PrintingRun::~PrintingRun() = default;

QString PrintingRun::defaultIssueDate(const QDate &today)
{
    const QDate fixed(2013, 3, 12);
    return fixed.daysTo(today) >= 0 ? u"12/03/2013"_s : formatDmy(today);
}

bool PrintingRun::check(PrintSelection &s)
{
    if (isAwardType(s.certType))
        return checkConvocation() && checkAwardBoxes(s) && checkRegister(s);
    return checkConvocation() && checkBoxes(s) && checkRegister(s);
}

// The convocation must have exactly one row and a date: the certificate prints it.
bool PrintingRun::checkConvocation()
{
    Rows rows = m_session.db().query(u"select masconvo.fdate from masconvo where fconvocode = ?"_s,
                                     {m_session.convoCode});
    int count = 0;
    QString date;
    while (rows.next()) {
        date = rows.text(0).trimmed();
        ++count;
    }
    if (count == 0) {
        m_prompter.info(u"Activate Convocation Date in Convocation Screen"_s);
        return false;
    }
    if (count > 1) {
        m_prompter.info(u"More than one Convocation is Activated!!. Activate One Convocation at a Time"_s);
        return false;
    }
    if (date.isEmpty()) {
        m_prompter.info(u"Define Convocation Date in Control Screen"_s);
        return false;
    }
    m_convoDate = date;
    return true;
}

bool PrintingRun::checkBoxes(PrintSelection &s)
{
    const Database &db = m_session.db();
    const bool print = s.mode == PrintMode::Print;
    const QString op = print ? u" = ''"_s : u" <> ''"_s;
    const QString certno = db.dialect().coalesce(u"fcertno"_s, u"''"_s);
    const QString exclaim = u"Message"_s;

    s.expandAllRanges();
    const QStringList required = print ? QStringList{s.degree, s.collegeFrom, s.collegeTo, s.regnoFrom, s.regnoTo,
                                                     s.issueDate, s.startNumber, s.endNumber, s.certType}
                                       : QStringList{s.degree, s.collegeFrom, s.collegeTo, s.regnoFrom, s.regnoTo,
                                                     s.certType};
    for (const QString &box : required) {
        if (box.trimmed().isEmpty()) {
            m_prompter.info(u"Information should be entered"_s);
            return false;
        }
    }
    if (!db.exists(u"select 1 from degree where fdegree = ? and fdegree in (select fdegree from convo where "_s + certno
                       + op + u" and factive = 'T' and convo.fconvocode = ?)"_s,
                   {s.degree.trimmed(), m_session.convoCode})) {
        m_prompter.message(u"Invalid Degree/No students exists for the degree"_s, exclaim, PromptIcon::Exclamation);
        return false;
    }
    for (const QString &college : {s.collegeFrom.trimmed(), s.collegeTo.trimmed()}) {
        if (college == u"0000"_s || college == u"ZZZZ"_s)
            continue;
        if (!db.exists(u"select 1 from college where fcollcode = ? and fcollcode in (select fcollcode from convo "
                         "where "_s + certno + op + u" and factive = 'T' and fdegree = ? and convo.fconvocode = ?)"_s,
                       {college, s.degree.trimmed(), m_session.convoCode})) {
            m_prompter.message(u"Invalid College/No students exists for the college"_s, exclaim,
                               PromptIcon::Exclamation);
            return false;
        }
    }
    if (s.regnoFrom.trimmed() != u"00000000"_s) {
        Rows r = db.query(u"select convo.factive, convo.fcertno, convo.fcollcode from convo, college where "
                          "convo.fcollcode = college.fcollcode and convo.fregno = ? and convo.fconvocode = ?"_s,
                          {s.regnoFrom.trimmed(), m_session.convoCode});
        if (!r.next()) {
            m_prompter.message(u"Reg. No. "_s + s.regnoFrom.trimmed() + u" is not a candidate of convocation "_s
                                   + m_session.convoCode + u"."_s,
                               exclaim, PromptIcon::Exclamation);
            return false;
        }
        s.collegeFrom = r.text(2).trimmed();
        if (r.text(0).trimmed() != u"T"_s) {
            m_prompter.message(u"Student is not active for printing"_s, exclaim, PromptIcon::Exclamation);
            return false;
        }
        if (m_session.folder.findWithExtensions(u"Photos"_s, s.regnoFrom.trimmed(), {u"jpg"_s, u"jpeg"_s}).isEmpty()
            && !m_prompter.askYesNo(u"Student photo is not available for printing. Do you want to continue?"_s))
            return false;
        if (print && !r.text(1).trimmed().isEmpty()) {
            m_prompter.message(u"Certificate is already printed for this Reg. No."_s, exclaim,
                               PromptIcon::Exclamation);
            return false;
        }
    }
    if (print && !checkNumbering(s))
        return false;
    if (!isValidType(s.certType)) {
        m_prompter.message(u"Invalid Certificate Type"_s, exclaim, PromptIcon::Exclamation);
        return false;
    }
    return true;
}

// The date of issue, the prefix and the stationery's number range.
bool PrintingRun::checkNumbering(const PrintSelection &s)
{
    const QString exclaim = u"Message"_s;
    if (!parseDmy(s.issueDate).isValid()) {
        m_prompter.message(u"The date of issue \""_s + s.issueDate.trimmed()
                               + u"\" is not a date: type it as dd/mm/yyyy."_s,
                           exclaim, PromptIcon::Exclamation);
        return false;
    }
    if (s.prefix.contains(u' ')) {
        m_prompter.message(u"The certificate prefix \""_s + s.prefix
                               + u"\" contains a blank: the prefix is printed before every number and may "
                                 "not hold blanks."_s,
                           exclaim, PromptIcon::Exclamation);
        return false;
    }
    if (!isWholeNumber(s.startNumber) || !isWholeNumber(s.endNumber)) {
        m_prompter.message(u"The certificate numbers \""_s + s.startNumber.trimmed() + u"\" and \""_s
                               + s.endNumber.trimmed() + u"\" must both be whole numbers."_s,
                           exclaim, PromptIcon::Exclamation);
        return false;
    }
    if (s.end() <= s.start()) {
        m_prompter.message(u"Value should be greater than From certificate no"_s, u"Certificate print"_s,
                           PromptIcon::Exclamation);
        return false;
    }
    if (s.end() > sheetnumbers::kHighest) {
        m_prompter.message(u"The certificate number "_s + QString::number(s.end())
                               + u" has more than six digits: the stationery's numbers run to "_s
                               + QString::number(sheetnumbers::kHighest) + u'.',
                           exclaim, PromptIcon::Exclamation);
        return false;
    }
    for (const long long spoiled : s.spoiledNumbers) {
        if (spoiled < s.start() || spoiled > s.end()) {
            m_prompter.message(u"Sheet "_s + s.certificateNumber(spoiled) + u", given as spoiled, is outside this "
                                 "run's stationery "_s
                                   + s.certificateNumber(s.start()) + u" to "_s + s.certificateNumber(s.end())
                                   + u": nothing is printed. Give the sheets of this run only."_s,
                               exclaim, PromptIcon::Exclamation);
            return false;
        }
    }
    return true;
}

int PrintingRun::countCandidates(const PrintSelection &s) const
{
    if (isAwardType(s.certType))
        return countAwardRows(m_session, s);
    const Database &db = m_session.db();
    const QString op = s.mode == PrintMode::Pdf ? u" <> ''"_s : u" = ''"_s;
    return db.scalar(u"select count(*) from convo where fdegree = ? and fcollcode between ? and ? and fregno between "
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
    if (s.mode == PrintMode::Print && !checkCollisions(s, candidates))
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
        if (s.mode == PrintMode::Pdf)
            writeCopies(s, jobs);
        else
            printSheets(s, jobs, cycle, output);
    } catch (const StopError &e) {
        m_prompter.message(e.text(), e.title(), e.icon());
    } catch (const DbError &e) {
        m_prompter.message(e.reportMessage(), u"Message"_s, PromptIcon::Critical);
    }
    report(m_progress, {});
    // The next sheet is the next free one: a number another workstation used meanwhile is passed.
    if (s.mode == PrintMode::Print && s.operation == PrintOperation::Print && !result.completed) {
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
        job.compose = [layouts, layout, row](const QString &) { return layouts->compose(layout, row); };
        jobs.push_back(std::move(job));
    }
    return jobs;
}

std::vector<PrintingRun::Job> PrintingRun::designerJobs(const PrintSelection &s, Cycle &cycle)
{
    if (s.mode == PrintMode::Pdf)
        throw StopError(u"The designed certificates of this institution have no PDF copies."_s,
                        PromptIcon::Information);
    const Database &reader = m_session.db();
    const bool speciality = !reader.scalar(u"select "_s + reader.dialect().coalesce(u"fspecial"_s, u"''"_s)
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
    for (const CertificateRow &row : selectDesignerRows(m_session, s.degree)) {
        Job job;
        job.holder.regno = row.regno;
        job.holder.degree = row.degree;
        job.holder.college = row.collCode;
        job.row = row;
        job.compose = [layout, row](const QString &certNo) { return layout->compose(row, certNo); };
        jobs.push_back(std::move(job));
    }
    // The recent certificates are those of the last designed run.
    if (!jobs.empty() && s.operation == PrintOperation::Print)
        ledger().clearRecentCertificates();
    return jobs;
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
void PrintingRun::writeCopies(const PrintSelection &s, const std::vector<Job> &jobs)
{
    PrintingResult &result = m_result;
    const DegreeLayouts photographs(m_session, s);
    certificatepdf::CopyWriter copies(m_session.folder);
    // The copies queued when the run stops are written all the same: they were composed.
    const auto writeQueuedCopies = qScopeGuard([&] {
        try {
            copies.flush();
        } catch (const StopError &e) {
            m_prompter.message(e.text(), e.title(), e.icon());
        }
        result.copies = copies.written();
    });
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
        if (photographs.photograph(job.holder.regno).isEmpty()
            && !m_prompter.askYesNo(u"Photo not found. Do you want to print the certificate without photo?"_s)) {
            ++result.skipped;
            continue;
        }
        Document sheet = job.compose(job.row.certNo);
        if (m_code)
            m_code->addTo(sheet, m_session.folder, job.row.certNo, job.holder.regno);
        copies.add(std::move(sheet), job.row.certNo,
                   certificatepdf::pdfPath(m_session.folder, m_session.instCode, job.row));
        result.copies = copies.written();
    }
    copies.flush();
    result.copies = copies.written();
    result.completed = true;
    report(m_progress, {}, 100);
    m_prompter.info(u"Printed Successfully"_s);
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
        if (cycle.asksForPhotograph && photographs.photograph(job.holder.regno).isEmpty()
            && !m_prompter.askYesNo(u"Photo not found. Do you want to print the certificate without photo?"_s)) {
            // The candidate keeps no number and uses none: the next one gets this sheet.
            if (printing)
                ledger().recordPassedOver(job.holder, certType, u"no photograph"_s);
            ++result.skipped;
            continue;
        }
        Document sheet = job.compose(certNo);
        if (m_code)
            m_code->addTo(sheet, m_session.folder, certNo, job.holder.regno);
        if (!printing) {
            output.preview(sheet, certNo, job.holder.regno);
            ++result.previewed;
            if (cycle.previewAsksToContinue && !m_prompter.askYesNo(u"Do you want to continue"_s))
                return;
            ++running;
            continue;
        }
        // The number is in the register before the sheet can reach the printer.
        const StationeryLedger::ReserveResult reserved =
            ledger().reserve(s.prefix, running, certType, job.holder, cycle.issue);
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
            output.print(sheet, certNo, job.holder.regno);
        } catch (const StopError &e) {
            ledger().spoil(reservation, u"not printed: "_s + e.text());
            m_unconfirmed.clear();
            ++result.spoiled;
            result.nextNumber = running + 1;
            throw StopError(e.text() + u"\nCertificate "_s + certNo
                                + u" is registered as spoiled: take that sheet out of the printer. The next sheet is "_s
                                + s.certificateNumber(running + 1) + u'.',
                            e.icon(), e.title());
        }
        const bool printed = settleSheet(s, reservation, cycle);
        result.nextNumber = running + 1;
        if (printed && cycle.keepsPdfCopy) {
            certificatepdf::save(m_session.folder, sheet, certNo,
                                 certificatepdf::pdfPath(m_session.folder, m_session.instCode, job.row));
            ++result.copies;
        }
        ++running;
    }
    result.nextNumber = nextFreeNumber(s);
    result.completed = true;
    sayUnreachedSpoiled(s);
    report(m_progress, {}, 100);
    m_prompter.info(cycle.doneMessage);
}

bool PrintingRun::settleSheet(const PrintSelection &s, const StationeryLedger::Reservation &sheet, const Cycle &cycle)
{
    PrintingResult &result = m_result;
    const bool namedSpoiled = s.spoiledNumbers.count(sheet.number) > 0;
    const bool printed =
        !namedSpoiled && (cycle.confirmsWithoutAsking || m_prompter.askYesNo(u"Is certificate printed Successfully?"_s));
    m_unconfirmed.clear();
    if (!printed) {
        m_prompter.info(u"Remove the waste certificate and click ok to continue"_s);
        ledger().spoil(sheet, namedSpoiled ? u"named spoiled when the run was started"_s : u"came out badly"_s);
        ++result.spoiled;
        return false;
    }
    const QString refused = ledger().confirm(sheet, cycle.issue);
    if (refused.isEmpty()) {
        ++result.printed;
        return true;
    }
    // The candidate changed while the sheet printed: the sheet is used up, the run goes on.
    ++result.spoiled;
    m_prompter.message(u"Certificate "_s + sheet.certNo + u" is registered as spoiled: "_s + refused
                           + u". Take that sheet out; the run goes on with the next candidate."_s,
                       u"Message"_s, PromptIcon::Exclamation);
    return false;
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
        m_ledger = std::make_unique<StationeryLedger>(m_session.db(), m_session.convoCode, m_session.userName,
                                                      m_workstation);
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
    QString text = u"Printing stopped after "_s + QString::number(sheets) + u" of "_s + of + u" sheets ("_s
                   + QString::number(r.printed) + u" printed, "_s + QString::number(r.spoiled) + u" spoiled"_s
                   + (r.skipped > 0 ? u", "_s + QString::number(r.skipped) + u" candidates passed over"_s : QString())
                   + u"); "_s
                   + (r.lastUsed >= 0 ? u"last number "_s + s.certificateNumber(r.lastUsed) : u"no number was used"_s)
                   + u'.';
    long long next = r.lastUsed >= 0 ? r.lastUsed + 1 : r.nextNumber;
    if (!m_unconfirmed.isEmpty())
        text += u" Certificate "_s + m_unconfirmed
                + u" went to the printer but was not confirmed: it waits in the register; settle it (Spoiled "
                  "Sheets..., or scrollwise-batch stationery settle) once you know how it came out."_s;
    return text + u" The next sheet is "_s + s.certificateNumber(next) + u'.';
}

} // namespace sw
