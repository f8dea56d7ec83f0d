// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/screens/listscreens.h"

#include "reports/lists/certprintedlist.h"
#include "reports/lists/otherlists.h"
#include "reports/lists/photopaste.h"
#include "reports/lists/studentlist.h"
#include "shell/core/prompter.h"
#include "shell/session.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// A blank From College means every college; a given one is also the To College.
void fillCollegeRange(QLineEdit *from, QLineEdit *to)
{
    if (from->text().trimmed().isEmpty()) {
        from->setText(u"0000"_s);
        to->setText(u"ZZZZ"_s);
    } else {
        to->setText(from->text().trimmed());
    }
}

// The selection of the range boxes, before the dates are taken.
PrintedListSelection rangeSelection(const ReportScreen::RangeBoxes &range)
{
    return {
        range.degreeFrom->text(), range.degreeTo->text(), range.collegeFrom->text(), range.collegeTo->text(), {}, {}};
}

// The date boxes' checks, with the focus back on the From Date box when they fail.
bool takeDates(PrintedListSelection &s, QLineEdit *from, QLineEdit *to, Prompter &prompter)
{
    const QString problem = s.takeDates(from->text(), to->text());
    if (problem.isEmpty())
        return true;
    prompter.message(problem, u"Message"_s, PromptIcon::Information);
    from->setFocus();
    return false;
}

} // namespace

// --- Student List ---------------------------------------------------------------

StudentListScreen::StudentListScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"STUDLIST"_s, u"Student List . . ."_s, parent)
{
    FieldFrame &f = fields();
    m_degree = addCode(0, u"Degree"_s, 5);
    m_degreeName = f.addDescription(3, m_degree);
    m_collegeFrom = addCode(1, u"From College"_s, 4);
    m_collegeFromName = f.addDescription(4, m_collegeFrom);
    m_collegeTo = addCode(2, u"To College"_s, 4);
    m_collegeToName = f.addDescription(5, m_collegeTo);
    m_printedOnly = addCheck(0, u"&Certificate Printed Only"_s);
    m_kannadaNames = addCheck(1, u"&With Kannada Names"_s);
    m_summary = addCheck(2, u"&Summary"_s);
    m_activeOnly = addCheck(3, u"&Active only"_s);
    m_convocationList = addCheck(4, u"Covocation List (Excel)"_s);
    m_ledger = addCheck(5, u"&Ledger"_s);
    setLookup(m_degree, [this] { return degreeLookup(); });
    for (QLineEdit *college : {m_collegeFrom, m_collegeTo})
        setLookup(college, [this] { return collegeLookup(m_degree->text().trimmed()); });
}

bool StudentListScreen::fieldLeft(QLineEdit *field)
{
    if (field == m_degree)
        return checkDegree(m_degree, m_degreeName, true);
    if (field == m_collegeFrom) {
        fillCollegeRange(m_collegeFrom, m_collegeTo);
        describeCollege(m_collegeFrom, m_collegeFromName);
        describeCollege(m_collegeTo, m_collegeToName);
    } else if (field == m_collegeTo) {
        describeCollege(m_collegeTo, m_collegeToName);
    }
    return true;
}

bool StudentListScreen::generate()
{
    if (!checkDegree(m_degree, m_degreeName, true)) {
        m_degree->setFocus();
        return false;
    }
    StudentListSelection s{m_degree->text(), m_collegeFrom->text(), m_collegeTo->text()};
    s.printedOnly = m_printedOnly->isChecked();
    s.activeOnly = m_activeOnly->isChecked();
    s.normaliseColleges();
    StudentListReports reports(session(), prompter(), pageHeader());
    if (m_summary->isChecked())
        return reports.degreeSummary(s, reportPath());
    if (m_kannadaNames->isChecked()) {
        showOutput(reports.kannadaNamesWorkbook(s));
        return false;
    }
    if (m_convocationList->isChecked()) {
        showOutput(reports.convocationWorkbook(s));
        return false;
    }
    if (m_ledger->isChecked()) {
        showOutput(reports.ledgerWorkbook(s));
        return false;
    }
    return reports.studentList(s, reportPath());
}

// --- Certificate Printed List ---------------------------------------------------

PrintedListScreen::PrintedListScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"CERTDATELIST"_s, u"Certificate Printed List . . ."_s, parent)
{
    addRangeBoxes();
    m_dateFrom = addDate(0, u"From Date"_s);
    m_dateTo = addDate(1, u"To Date"_s);
    m_toOnline = addCheck(0, u"&Update to online?"_s);
    m_toCsv = addCheck(1, u"&Export to CSV"_s);
    m_summary = addCheck(2, u"&Summary (All Convo)"_s);
    m_ledger = addCheck(3, u"Convocation &Ledger"_s);
    makeExclusive({m_toOnline, m_toCsv, m_summary, m_ledger});
}

bool PrintedListScreen::fieldLeft(QLineEdit *field) { return leaveRangeField(field); }

bool PrintedListScreen::generate()
{
    PrintedListSelection s = rangeSelection(range());
    if (!takeDates(s, m_dateFrom, m_dateTo, prompter()))
        return false;
    s.normaliseRanges();
    CertPrintedReports reports(session(), prompter(), pageHeader());
    if (m_toOnline->isChecked()) {
        if (prompter().askYesNo(u"Printed Certificate details will be updated to online\r\nDo you want to continue?"_s,
                                u"Update to online"_s))
            reports.updatePortal(s, [this](const QString &status, int) { setHint(status); });
        return false;
    }
    if (m_toCsv->isChecked()) {
        reports.certificateDetailsCsv(s);
        return false;
    }
    if (m_summary->isChecked())
        return reports.countPerConvocation(s, reportPath());
    if (m_ledger->isChecked())
        return reports.convocationLedger(s, reportPath());
    return reports.printedList(s, reportPath());
}

// --- Cancelled List -------------------------------------------------------------

CancelledListScreen::CancelledListScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"CERTCANLIST"_s, u"Datewise Certificates Cancelled List . . ."_s, parent)
{
    m_dateFrom = addDate(0, u"From Date"_s);
    m_dateTo = addDate(1, u"To Date"_s);
    addRangeBoxes();
}

bool CancelledListScreen::fieldLeft(QLineEdit *field) { return leaveRangeField(field); }

bool CancelledListScreen::generate()
{
    PrintedListSelection s = rangeSelection(range());
    if (!takeDates(s, m_dateFrom, m_dateTo, prompter()))
        return false;
    s.normaliseRanges();
    OtherListReports reports(session(), prompter(), pageHeader());
    if (!reports.cancelledList(s, reportPath())) {
        m_dateFrom->setFocus();
        return false;
    }
    return true;
}

// --- Activated and online lists -------------------------------------------------

RangeListScreen::RangeListScreen(const FormContext &context, Kind kind, QWidget *parent)
    : ReportScreen(context, kind == Kind::Activated ? u"STUDACTLIST"_s : u"ONLINELIST"_s,
                   kind == Kind::Activated ? u"Activated Student List . . ."_s : u"Downloaded List . . ."_s, parent)
    , m_kind(kind)
{
    m_degreeFrom = addCode(0, u"From Degree"_s, 5);
    m_degreeTo = addCode(3, u"To Degree"_s, 5);
    m_collegeFrom = addCode(1, u"From College"_s, 4);
    m_collegeTo = addCode(2, u"To College"_s, 4);
    if (kind == Kind::Activated) {
        m_pendingPhotos = addCheck(0, u"&Pending Photos Only"_s);
        m_activeOnly = addCheck(1, u"&Active Only"_s);
    } else {
        m_activeOnly = addCheck(1, u"&Not Active Only"_s);
    }
    for (QLineEdit *degree : {m_degreeFrom, m_degreeTo})
        setLookup(degree, [this] { return degreeLookup(); });
    for (QLineEdit *college : {m_collegeFrom, m_collegeTo})
        setLookup(college, [this] { return collegeLookup({}); });
}

bool RangeListScreen::generate()
{
    RangeSelection s{m_degreeFrom->text(), m_degreeTo->text(), m_collegeFrom->text(), m_collegeTo->text()};
    s.normaliseRanges();
    OtherListReports reports(session(), prompter(), pageHeader());
    if (m_kind == Kind::Online)
        return reports.onlineList(s, m_activeOnly->isChecked(), reportPath());
    setHint(u"Checking for the Photos . . ."_s);
    return reports.activatedList(s, {m_pendingPhotos->isChecked(), m_activeOnly->isChecked()}, reportPath());
}

// --- Mismatch Report ------------------------------------------------------------

MismatchListScreen::MismatchListScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"MISMATCHLIST"_s, u"Mismatch Report . . ."_s, parent)
{
    QTimer::singleShot(0, this, [this] { VPSproc(u"preview"_s); });
}

bool MismatchListScreen::generate()
{
    OtherListReports(session(), prompter(), pageHeader()).mismatchList(reportPath());
    return true;
}

// --- Photo Paste Format -----------------------------------------------------------

PhotoSheetScreen::PhotoSheetScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"PHOTOPASTE"_s, u"Photo Paste Format . . ."_s, parent)
{
    m_degreeFrom = addCode(0, u"From Degree"_s, 5);
    m_degreeTo = addCode(3, u"To Degree"_s, 5);
    m_collegeFrom = addCode(1, u"From College"_s, 4);
    m_collegeTo = addCode(2, u"To College"_s, 4);
    m_regnoFrom = addCode(4, u"From Reg. No."_s, 10);
    m_regnoTo = addCode(5, u"To Reg. No."_s, 10);
    m_freshOnly = addCheck(0, u"&Fresh only"_s);
    m_update = addCheck(1, u"&Update"_s);
    m_activeOnly = addCheck(2, u"&Active only"_s);
    for (QLineEdit *degree : {m_degreeFrom, m_degreeTo})
        setLookup(degree, [this] { return degreeLookup(); });
    for (QLineEdit *college : {m_collegeFrom, m_collegeTo})
        setLookup(college, [this] { return collegeLookup({}); });
}

bool PhotoSheetScreen::generate()
{
    PhotoPasteSelection s{m_degreeFrom->text(), m_degreeTo->text(),  m_collegeFrom->text(),
                          m_collegeTo->text(),  m_regnoFrom->text(), m_regnoTo->text()};
    s.freshOnly = m_freshOnly->isChecked();
    s.update = m_update->isChecked();
    s.activeOnly = m_activeOnly->isChecked();
    s.normaliseRanges();
    showOutput(PhotoPasteSheet(session(), prompter()).run(s));
    return false;
}

} // namespace sw
