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
    addDate(0, u"From Date"_s);
    addDate(1, u"To Date"_s);
    addCheck(0, u"&Eject at each college"_s);
    addCheck(1, u"Report in &Word"_s);
    addCheck(2, u"&Check list"_s);
    addCheck(3, u"&Student copy"_s);
}

bool CoveringLettersScreen::fieldLeft(QLineEdit *field) { return leaveRangeField(field); }

bool CoveringLettersScreen::generate()
{
    PrintedListSelection s{text(0)->text(), text(1)->text(), text(2)->text(), text(3)->text(), {}, {}};
    const QString problem = s.takeDates(mskdt(0)->text(), mskdt(1)->text());
    if (!problem.isEmpty()) {
        prompter().message(problem, u"Message"_s, PromptIcon::Information);
        mskdt(0)->setFocus();
        return false;
    }
    s.normaliseRanges();
    CoveringLetters letters(session(), prompter(), pageHeader());
    using Kind = CoveringLetters::Kind;
    Kind kind = Kind::List;
    QString name;
    if (chk(1)->isChecked()) {
        kind = Kind::College;
        name = u"CollegeLetters"_s;
    } else if (chk(2)->isChecked()) {
        kind = Kind::Checklist;
        name = u"CheckList"_s;
    } else if (chk(3)->isChecked()) {
        const bool acknowledgement =
            prompter().askYesNo(u"Do you want Student copy with Acknowledgement?"_s, u"Student Copy"_s);
        kind = acknowledgement ? Kind::Student : Kind::StudentWithoutAck;
        name = u"StudentLetters"_s;
    }
    if (kind == Kind::List) {
        m_lastOutput = reportPath();
        const bool wrote = letters.dispatchList(s, chk(0)->isChecked(), reportPath());
        if (!wrote)
            text(0)->setFocus();
        return wrote;
    }
    const QString odt = session().folder.outputPath(name + u".odt"_s);
    const QString pdf = QFileInfo(odt).path() + u'/' + name + u".pdf"_s;
    if (!letters.writeDocument(kind, s, odt, pdf)) {
        text(0)->setFocus();
        return false;
    }
    m_lastOutput = odt;
    showOutput(odt);
    return false;
}

} // namespace sw
