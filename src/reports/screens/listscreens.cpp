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
    addCode(0, u"Degree"_s, 5, 3);
    addCode(1, u"From College"_s, 4, 4);
    addCode(2, u"To College"_s, 4, 5);
    addCheck(0, u"&Certificate Printed Only"_s);
    addCheck(1, u"&With Kannada Names"_s);
    addCheck(2, u"&Summary"_s);
    addCheck(3, u"&Active only"_s);
    addCheck(4, u"Covocation List (Excel)"_s);
    addCheck(5, u"&Ledger"_s);
    setLookup(text(0), [this] { return degreeLookup(); });
    setLookup(text(1), [this] { return collegeLookup(text(0)->text().trimmed()); });
    setLookup(text(2), [this] { return collegeLookup(text(0)->text().trimmed()); });
}

bool StudentListScreen::fieldLeft(QLineEdit *field)
{
    if (field == text(0))
        return checkDegree(text(0), text(3), true);
    if (field == text(1)) {
        fillCollegeRange(text(1), text(2));
        describeCollege(text(1), text(4));
        describeCollege(text(2), text(5));
    } else if (field == text(2)) {
        describeCollege(text(2), text(5));
    }
    return true;
}

bool StudentListScreen::generate()
{
    if (!checkDegree(text(0), text(3), true)) {
        text(0)->setFocus();
        return false;
    }
    StudentListSelection s{text(0)->text(), text(1)->text(), text(2)->text()};
    s.printedOnly = chk(0)->isChecked();
    s.activeOnly = chk(3)->isChecked();
    s.normaliseColleges();
    StudentListReports reports(session(), prompter(), pageHeader());
    if (chk(2)->isChecked())
        return reports.degreeSummary(s, reportPath());
    if (chk(1)->isChecked()) {
        showOutput(reports.kannadaNamesWorkbook(s));
        return false;
    }
    if (chk(4)->isChecked()) {
        showOutput(reports.convocationWorkbook(s));
        return false;
    }
    if (chk(5)->isChecked()) {
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
    addDate(0, u"From Date"_s);
    addDate(1, u"To Date"_s);
    addCheck(0, u"&Update to online?"_s);
    addCheck(1, u"&Export to CSV"_s);
    addCheck(2, u"&Summary (All Convo)"_s);
    addCheck(3, u"Convocation &Ledger"_s);
    makeExclusive({0, 1, 2, 3});
}

bool PrintedListScreen::fieldLeft(QLineEdit *field) { return leaveRangeField(field); }

bool PrintedListScreen::generate()
{
    PrintedListSelection s{text(0)->text(), text(1)->text(), text(2)->text(), text(3)->text(), {}, {}};
    if (!takeDates(s, mskdt(0), mskdt(1), prompter()))
        return false;
    s.normaliseRanges();
    CertPrintedReports reports(session(), prompter(), pageHeader());
    if (chk(0)->isChecked()) {
        if (prompter().askYesNo(u"Printed Certificate details will be updated to online\r\nDo you want to continue?"_s,
                                u"Update to online"_s))
            reports.updatePortal(s, [this](const QString &status, int) { setHint(status); });
        return false;
    }
    if (chk(1)->isChecked()) {
        reports.certificateDetailsCsv(s);
        return false;
    }
    if (chk(2)->isChecked())
        return reports.countPerConvocation(s, reportPath());
    if (chk(3)->isChecked())
        return reports.convocationLedger(s, reportPath());
    return reports.printedList(s, reportPath());
}

// --- Cancelled List -------------------------------------------------------------

CancelledListScreen::CancelledListScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"CERTCANLIST"_s, u"Datewise Certificates Cancelled List . . ."_s, parent)
{
    addDate(0, u"From Date"_s);
    addDate(1, u"To Date"_s);
    addRangeBoxes();
}

bool CancelledListScreen::fieldLeft(QLineEdit *field) { return leaveRangeField(field); }

bool CancelledListScreen::generate()
{
    PrintedListSelection s{text(0)->text(), text(1)->text(), text(2)->text(), text(3)->text(), {}, {}};
    if (!takeDates(s, mskdt(0), mskdt(1), prompter()))
        return false;
    s.normaliseRanges();
    OtherListReports reports(session(), prompter(), pageHeader());
    if (!reports.cancelledList(s, reportPath())) {
        mskdt(0)->setFocus();
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
    addCode(0, u"From Degree"_s, 5);
    addCode(3, u"To Degree"_s, 5);
    addCode(1, u"From College"_s, 4);
    addCode(2, u"To College"_s, 4);
    if (kind == Kind::Activated) {
        addCheck(0, u"&Pending Photos Only"_s);
        addCheck(1, u"&Active Only"_s);
    } else {
        addCheck(1, u"&Not Active Only"_s);
    }
    for (int i : {0, 3})
        setLookup(text(i), [this] { return degreeLookup(); });
    for (int i : {1, 2})
        setLookup(text(i), [this] { return collegeLookup({}); });
}

bool RangeListScreen::generate()
{
    RangeSelection s{text(0)->text(), text(3)->text(), text(1)->text(), text(2)->text()};
    s.normaliseRanges();
    OtherListReports reports(session(), prompter(), pageHeader());
    if (m_kind == Kind::Online)
        return reports.onlineList(s, chk(1)->isChecked(), reportPath());
    setHint(u"Checking for the Photos . . ."_s);
    return reports.activatedList(s, {chk(0)->isChecked(), chk(1)->isChecked()}, reportPath());
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
    addCode(0, u"From Degree"_s, 5);
    addCode(3, u"To Degree"_s, 5);
    addCode(1, u"From College"_s, 4);
    addCode(2, u"To College"_s, 4);
    addCode(4, u"From Reg. No."_s, 10);
    addCode(5, u"To Reg. No."_s, 10);
    addCheck(0, u"&Fresh only"_s);
    addCheck(1, u"&Update"_s);
    addCheck(2, u"&Active only"_s);
    for (int i : {0, 3})
        setLookup(text(i), [this] { return degreeLookup(); });
    for (int i : {1, 2})
        setLookup(text(i), [this] { return collegeLookup({}); });
}

bool PhotoSheetScreen::generate()
{
    PhotoPasteSelection s{text(0)->text(), text(3)->text(), text(1)->text(),
                          text(2)->text(), text(4)->text(), text(5)->text()};
    s.freshOnly = chk(0)->isChecked();
    s.update = chk(1)->isChecked();
    s.activeOnly = chk(2)->isChecked();
    s.normaliseRanges();
    showOutput(PhotoPasteSheet(session(), prompter()).run(s));
    return false;
}

} // namespace sw
