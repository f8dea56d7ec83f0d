// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/letters/coveringlettersscreen.h"

#include "reports/letters/coveringletters.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/workbook/workbook.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

CoveringLettersScreen::CoveringLettersScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"COVLETT"_s, u"Covering Letters . . ."_s, parent)
{
    addRangeBoxes();
    m_dateFrom = addDate(0, u"From Date"_s);
    m_dateTo = addDate(1, u"To Date"_s);
    m_ejectAtCollege = addCheck(0, u"&Eject at each college"_s);
    m_collegeLetters = addCheck(1, u"Report in &Word"_s);
    m_checklist = addCheck(2, u"&Check list"_s);
    m_studentCopy = addCheck(3, u"&Student copy"_s);
}

bool CoveringLettersScreen::fieldLeft(QLineEdit *field) { return leaveRangeField(field); }

bool CoveringLettersScreen::generate()
{
    const RangeBoxes &r = range();
    PrintedListSelection s{
        r.degreeFrom->text(), r.degreeTo->text(), r.collegeFrom->text(), r.collegeTo->text(), {}, {}};
    const QString problem = s.takeDates(m_dateFrom->text(), m_dateTo->text());
    if (!problem.isEmpty()) {
        prompter().message(problem, u"Message"_s, PromptIcon::Information);
        m_dateFrom->setFocus();
        return false;
    }
    s.normaliseRanges();
    CoveringLetters letters(session(), prompter(), pageHeader());
    using Kind = CoveringLetters::Kind;
    Kind kind = Kind::List;
    QString name;
    if (m_collegeLetters->isChecked()) {
        kind = Kind::College;
        name = u"CollegeLetters"_s;
    } else if (m_checklist->isChecked()) {
        kind = Kind::Checklist;
        name = u"CheckList"_s;
    } else if (m_studentCopy->isChecked()) {
        const bool acknowledgement =
            prompter().askYesNo(u"Do you want Student copy with Acknowledgement?"_s, u"Student Copy"_s);
        kind = acknowledgement ? Kind::Student : Kind::StudentWithoutAck;
        name = u"StudentLetters"_s;
    }
    if (kind == Kind::List) {
        m_lastOutput = reportPath();
        const bool wrote = letters.dispatchList(s, m_ejectAtCollege->isChecked(), reportPath());
        if (!wrote)
            r.degreeFrom->setFocus();
        return wrote;
    }
    const QString odt = session().folder.outputPath(name + u".odt"_s);
    const QString pdf = QFileInfo(odt).path() + u'/' + name + u".pdf"_s;
    if (!letters.writeDocument(kind, s, odt, pdf)) {
        r.degreeFrom->setFocus();
        return false;
    }
    m_lastOutput = odt;
    showOutput(odt);
    return false;
}

} // namespace sw
