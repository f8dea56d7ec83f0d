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
    addCode(4, u"From Cert. no"_s, 20);
    addCode(5, u"To Cert. no"_s, 20);
    addDate(0, u"From Date"_s);
    addDate(1, u"To Date"_s);
    addCheck(0, u"&Tatkal Only"_s);
    addCheck(1, u"&Post Only"_s);
}

bool AddressLabelsScreen::fieldLeft(QLineEdit *field) { return leaveRangeField(field); }

bool AddressLabelsScreen::generate()
{
    for (QLineEdit *date : {mskdt(0), mskdt(1)}) {
        const QString typed = date->text();
        if (std::none_of(typed.begin(), typed.end(), [](QChar c) { return c.isDigit(); })) {
            prompter().message(date->toolTip() + u" has to be entered"_s, u"Validation"_s, PromptIcon::Information);
            date->setFocus();
            return false;
        }
    }
    LabelSelection s{
        {text(0)->text(), text(1)->text(), text(2)->text(), text(3)->text(), {}, {}}, text(4)->text(), text(5)->text()};
    const QString problem = s.printed.takeDates(mskdt(0)->text(), mskdt(1)->text());
    if (!problem.isEmpty()) {
        prompter().message(problem, u"Validation"_s, PromptIcon::Information);
        mskdt(0)->setFocus();
        return false;
    }
    s.tatkalOnly = chk(0)->isChecked();
    s.postOnly = chk(1)->isChecked();
    s.normaliseRanges();
    const QString odt = session().folder.outputPath(u"AddressLabels.odt"_s);
    const QString pdf = QFileInfo(odt).path() + u"/AddressLabels.pdf"_s;
    if (AddressLabels(session(), prompter()).labelSheets(s, odt, pdf) == 0) {
        text(0)->setFocus();
        return false;
    }
    m_lastOutput = odt;
    showOutput(odt);
    return false;
}

} // namespace sw
