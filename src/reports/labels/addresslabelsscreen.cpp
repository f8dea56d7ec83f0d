// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/labels/addresslabelsscreen.h"

#include "reports/labels/addresslabels.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/workbook/workbook.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

AddressLabelsScreen::AddressLabelsScreen(const FormContext &context, QWidget *parent)
    : ReportScreen(context, u"ADDENV"_s, u"Address on Envelopes . . ."_s, parent)
{
    addRangeBoxes();
    m_certFrom = addCode(4, u"From Cert. no"_s, 20);
    m_certTo = addCode(5, u"To Cert. no"_s, 20);
    m_dateFrom = addDate(0, u"From Date"_s);
    m_dateTo = addDate(1, u"To Date"_s);
    m_tatkalOnly = addCheck(0, u"&Tatkal Only"_s);
    m_postOnly = addCheck(1, u"&Post Only"_s);
}

bool AddressLabelsScreen::fieldLeft(QLineEdit *field) { return leaveRangeField(field); }

bool AddressLabelsScreen::generate()
{
    for (QLineEdit *date : {m_dateFrom, m_dateTo}) {
        const QString typed = date->text();
        if (std::none_of(typed.begin(), typed.end(), [](QChar c) { return c.isDigit(); })) {
            prompter().message(date->toolTip() + u" has to be entered"_s, u"Validation"_s, PromptIcon::Information);
            date->setFocus();
            return false;
        }
    }
    const RangeBoxes &r = range();
    LabelSelection s{{r.degreeFrom->text(), r.degreeTo->text(), r.collegeFrom->text(), r.collegeTo->text(), {}, {}},
                     m_certFrom->text(),
                     m_certTo->text()};
    const QString problem = s.printed.takeDates(m_dateFrom->text(), m_dateTo->text());
    if (!problem.isEmpty()) {
        prompter().message(problem, u"Validation"_s, PromptIcon::Information);
        m_dateFrom->setFocus();
        return false;
    }
    s.tatkalOnly = m_tatkalOnly->isChecked();
    s.postOnly = m_postOnly->isChecked();
    s.normaliseRanges();
    const QString odt = session().folder.outputPath(u"AddressLabels.odt"_s);
    const QString pdf = QFileInfo(odt).path() + u"/AddressLabels.pdf"_s;
    if (AddressLabels(session(), prompter()).labelSheets(s, odt, pdf) == 0) {
        r.degreeFrom->setFocus();
        return false;
    }
    m_lastOutput = odt;
    showOutput(odt);
    return false;
}

} // namespace sw
