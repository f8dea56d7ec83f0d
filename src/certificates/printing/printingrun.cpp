// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/printingrun.h"

#include "candidates/entry/serialnumbers.h"
#include "certificates/layouts/certificatepdf.h"
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

// Numbers are looked up by the certificate-number index alone and the convocation
// compared here: with both in the statement, SQLite (without statistics) reads every
// candidate of the convocation instead. Codes compare as the database compares them.
bool PrintingRun::sameConvocation(const QString &convoCode) const
{
    return convoCode.trimmed().compare(m_session.convoCode.trimmed(), Qt::CaseInsensitive) == 0;
}

PrintingRun::PrintingRun(Session &session, Prompter &prompter, Progress progress)
    : m_session(session)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
    , m_workstation(QSysInfo::machineHostName())
{
}

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

// No number is reserved here: the check only refuses a range that would collide.
bool PrintingRun::checkCollisions(const PrintSelection &s, int candidates)
{
    const QString type = s.certType.trimmed();
    const QString table = (type == u"1"_s || type == u"2"_s) ? u"convo"_s : u"rankreg"_s;
    Statement lookup = m_session.db().prepare(u"select fregno, fcertno, fconvocode from "_s + table
                                              + u" where fcertno = ?"_s);
    // A spoiled sheet used its number up, even when the number was taken back from a candidate.
    Statement spoiled = m_session.db().prepare(u"select fconvocode from stationery where fprefix = ? and fnumber = ? "
                                               "and foutcome = ?"_s);
    QStringList lines;
    for (int i = 0; i < candidates; ++i) {
        const QString certNo = s.certificateNumber(s.start() + i);
        Rows rows = lookup.run({certNo});
        while (rows.next()) {
            if (sameConvocation(rows.text(2)))
                lines << rows.text(0).trimmed() + u" - "_s + rows.text(1).trimmed();
        }
        Rows sheets = spoiled.run({s.prefix, s.start() + i,
                                   StationeryRegister::outcomeText(StationeryRegister::Outcome::Spoiled)});
        bool isSpoiled = false;
        while (sheets.next())
            isSpoiled = isSpoiled || sameConvocation(sheets.text(0));
        if (isSpoiled)
            lines << certNo + u" - spoiled sheet"_s;
    }
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
    try {
        if (!check(s))
            return result;
        QDir().mkpath(m_session.folder.filePath(u"CSV/DCPDF"_s));
        m_code = VerificationCode::fromConfig(InstitutionConfig::load(m_session.folder));
        result.nextNumber = s.start();
        const LayoutProcedure layout = chooseLayout(m_session.instCode, s);
        if (layout == LayoutProcedure::None)
            return result;
        report(m_progress, s.operation == PrintOperation::Print ? u"Printing, Please Wait ..."_s
                                                                 : u"Generating, Please Wait ..."_s);
        if (isAwardLayout(layout))
            printAwardCertificates(s, layout, output, result);
        else if (layout == LayoutProcedure::Datareport)
            printDesignerCertificates(s, output, result);
        else
            printDegreeCertificates(s, layout, output, result);
    } catch (const StopError &e) {
        m_prompter.message(e.text(), e.title(), e.icon());
    } catch (const DbError &e) {
        m_prompter.message(e.reportMessage(), u"Message"_s, PromptIcon::Critical);
    }
    report(m_progress, {});
    return result;
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

void PrintingRun::printDegreeCertificates(const PrintSelection &s, LayoutProcedure layout, SheetOutput &output,
                                          PrintingResult &result)
{
    const std::vector<CertificateRow> rows = selectCertificateRows(m_session, s);
    if (rows.empty()) {
        m_prompter.info(u"No Records found for the given range"_s);
        return;
    }
    m_selected = int(rows.size());
    const DegreeLayouts layouts(m_session, s);
    long long running = s.start();
    const bool printing = s.mode == PrintMode::Print && s.operation == PrintOperation::Print;
    // The copies queued when the run stops are written all the same: they were composed.
    certificatepdf::CopyWriter copies(m_session.folder);
    const auto writeQueuedCopies = qScopeGuard([&] {
        if (copies.pending() == 0)
            return;
        try {
            copies.flush();
        } catch (const StopError &e) {
            m_prompter.message(e.text(), e.title(), e.icon());
        }
        result.copies = copies.written();
    });
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CertificateRow &row = rows[i];
        result.nextNumber = running;
        if (m_stopRequested) {
            // The copies composed so far are written before the run says how far it got.
            copies.flush();
            result.copies = copies.written();
        }
        if (stopBeforeSheet(s, running, int(rows.size() - i)))
            return;
        const QString certNo = s.mode == PrintMode::Pdf ? row.certNo : s.certificateNumber(running);
        report(m_progress, u"Printing Certificate "_s + certNo + u" for Reg. No. - "_s + row.regno,
               int(i * 100 / rows.size()));
        if (layouts.photograph(row.regno).isEmpty()
            && !m_prompter.askYesNo(u"Photo not found. Do you want to print the certificate without photo?"_s)) {
            // The candidate keeps no number and uses none: the next one gets this sheet.
            if (printing)
                recordSheet(s, row, -1, StationeryRegister::Outcome::Skipped, u"no photograph"_s);
            ++result.skipped;
            continue;
        }
        Document sheet = layouts.compose(layout, row);
        if (m_code)
            m_code->addTo(sheet, m_session.folder, certNo, row.regno);

        if (s.mode == PrintMode::Pdf) {
            copies.add(std::move(sheet), certNo, certificatepdf::pdfPath(m_session.folder, m_session.instCode, row));
            result.copies = copies.written();
            ++running;
            continue;
        }
        if (s.operation == PrintOperation::Preview) {
            output.preview(sheet, certNo, row.regno);
            ++result.previewed;
            if (!m_prompter.askYesNo(u"Do you want to continue"_s))
                return;
            ++running;
            continue;
        }
        // Another workstation may have printed this candidate since the selection: no sheet is used.
        if (!stillUnprinted(m_session.db(), m_session.convoCode, row))
            throw StopError(u"Reg. No. "_s + row.regno + u" was printed on another workstation while this run was "
                              "going on. The run stops here; certificate "_s + certNo
                                + u" was not printed and is the next sheet to use."_s,
                            PromptIcon::Exclamation);
        output.print(sheet, certNo, row.regno);
        const bool printed = settleSheet(s, row, running, certNo, confirmsWithoutAsking(layout), result,
                                         [&] { confirm(s, row, running, false); });
        if (printed && keepsPdfCopy(layout)) {
            certificatepdf::save(m_session.folder, sheet, certNo,
                                 certificatepdf::pdfPath(m_session.folder, m_session.instCode, row));
            ++result.copies;
        }
        ++running;
    }
    copies.flush();
    result.copies = copies.written();
    result.nextNumber = running;
    result.completed = true;
    report(m_progress, {}, 100);
    m_prompter.info(u"Printed Successfully"_s);
}

void PrintingRun::printDesignerCertificates(const PrintSelection &s, SheetOutput &output, PrintingResult &result)
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
    DesignerLayout layout(m_session.folder, type);
    for (int label = 0; label < DesignerLayout::LabelCount; ++label) {
        if (m_placements[label])
            layout.place(DesignerLayout::Label(label), *m_placements[label]);
    }
    const std::vector<CertificateRow> rows = selectDesignerRows(m_session, s.degree);
    if (rows.empty()) {
        m_prompter.info(u"No Records found for the given range"_s);
        return;
    }
    m_selected = int(rows.size());
    const bool printing = s.operation == PrintOperation::Print;
    if (printing)
        m_session.db().exec(u"delete from reccert"_s);
    long long running = s.start();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CertificateRow &row = rows[i];
        result.nextNumber = running;
        if (stopBeforeSheet(s, running, int(rows.size() - i)))
            return;
        const QString certNo = s.certificateNumber(running);
        report(m_progress, u"Printing Certificate "_s + certNo + u" for Reg No. - "_s + row.regno,
               int(i * 100 / rows.size()));
        Document sheet = layout.compose(row, certNo);
        if (m_code)
            m_code->addTo(sheet, m_session.folder, certNo, row.regno);
        if (!printing) {
            output.preview(sheet, certNo, row.regno);
            ++result.previewed;
            ++running;
            continue;
        }
        if (!stillUnprinted(m_session.db(), m_session.convoCode, row))
            throw StopError(u"Reg. No. "_s + row.regno + u" was printed on another workstation while this run was "
                              "going on. The run stops here; certificate "_s + certNo
                                + u" was not printed and is the next sheet to use."_s,
                            PromptIcon::Exclamation);
        output.print(sheet, certNo, row.regno);
        confirm(s, row, running, true);
        ++result.printed;
        result.nextNumber = running + 1;
        ++running;
    }
    result.nextNumber = running;
    result.completed = true;
    m_prompter.info(u"Printing of Certificates Completed Successfully"_s);
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
                   + (sheets > 0 ? u"last number "_s + s.certificateNumber(r.nextNumber - 1) : u"no number was used"_s)
                   + u'.';
    long long next = r.nextNumber;
    if (!m_unconfirmed.isEmpty()) {
        text += u" Certificate "_s + m_unconfirmed + u" went to the printer but was not confirmed, so nothing is "
                                                     "stored for it: register that sheet as spoiled."_s;
        ++next;
    }
    return text + u" The next sheet is "_s + s.certificateNumber(next) + u'.';
}

bool PrintingRun::settleSheet(const PrintSelection &s, const CertificateRow &sheetOf, long long running,
                              const QString &certNo, bool withoutAsking, PrintingResult &result,
                              const std::function<void()> &storeNumber)
{
    // Named until answered: a run stopped by an unanswered question says which sheet is out.
    m_unconfirmed = certNo + u" (Reg. No. "_s + sheetOf.regno + u')';
    const bool printed = withoutAsking || m_prompter.askYesNo(u"Is certificate printed Successfully?"_s);
    m_unconfirmed.clear();
    if (printed) {
        storeNumber();
        ++result.printed;
    } else {
        m_prompter.info(u"Remove the waste certificate and click ok to continue"_s);
        recordSheet(s, sheetOf, running, StationeryRegister::Outcome::Spoiled);
        ++result.spoiled;
    }
    result.nextNumber = running + 1;
    return printed;
}

void PrintingRun::recordSheet(const PrintSelection &s, const CertificateRow &row, long long running,
                              StationeryRegister::Outcome outcome, const QString &remarks)
{
    StationeryRegister reg(m_session.db(), m_session.convoCode, m_session.userName, m_workstation);
    reg.record({s.prefix, running, running < 0 ? QString() : s.certificateNumber(running), row.regno, row.degree,
                s.certType.trimmed().toUpper(), outcome, remarks});
}

// Stores the number of a sheet that came out well. Under the settings-row lock,
// so two workstations confirm one at a time: a number another candidate of the
// convocation already holds, or a candidate that already has a number, stops the
// run, and the sheet is registered as spoiled.
void PrintingRun::confirm(const PrintSelection &s, const CertificateRow &row, long long running, bool designer)
{
    Database &db = m_session.db();
    const QString certNo = s.certificateNumber(running);
    WriteScope scope(db);
    SerialNumbers(db).lock();
    QString holder;
    Rows holders = db.query(u"select fregno, fconvocode from convo where fcertno = ?"_s, {certNo});
    while (holder.isEmpty() && holders.next()) {
        if (sameConvocation(holders.text(1)))
            holder = holders.text(0).trimmed();
    }
    QString conflict;
    if (!holder.isEmpty()) {
        conflict = u"Certificate No. "_s + certNo + u" is already stored for Reg. No. "_s + holder
                   + u" (printed on another workstation)."_s;
    } else {
        const QString unprinted = db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s;
        const QDate issued = parseDmy(s.issueDate);
        int changed = 0;
        if (designer) {
            changed = db.exec(u"update convo set fcertno = ?, fdate = ?, fconvdate = ?, fprintedby = ? where fregno = ? "
                              "and fdegree = ? and fcollcode = ? and convo.fconvocode = ? and "_s
                                  + unprinted,
                              {certNo, issued, parseDmy(m_convoDate), m_session.userName, row.regno, row.degree,
                               row.collCode, m_session.convoCode});
            if (changed > 0)
                db.exec(u"insert into reccert (fdegree, fcollcode, fregno, fcertno) values (?, ?, ?, ?)"_s,
                        {row.degree, row.collCode, row.regno, certNo});
        } else {
            const QDateTime now = QDateTime::currentDateTime();
            changed = db.exec(u"update convo set fcertno = ?, fdate = ?, fprintdate = ?, fprinttime = ?, fprintedby = ? "
                              "where fregno = ? and fdegree = ? and fcollcode = ? and convo.fconvocode = ? and "_s
                                  + unprinted,
                              {certNo, issued, now.date(), now.toString(u"hh:mm:ss AP"_s), m_session.userName,
                               row.regno, row.degree, row.collCode, m_session.convoCode});
        }
        if (changed == 0)
            conflict = u"Reg. No. "_s + row.regno + u" was given a certificate number on another workstation while "
                                                     "certificate "_s
                       + certNo + u" was printing."_s;
    }
    if (!conflict.isEmpty()) {
        recordSheet(s, row, running, StationeryRegister::Outcome::Spoiled, conflict);
        scope.commit();
        throw StopError(conflict + u" The sheet is registered as spoiled and the run stops."_s,
                        PromptIcon::Exclamation);
    }
    recordSheet(s, row, running, StationeryRegister::Outcome::Printed);
    scope.commit();
}

} // namespace sw
