// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/screens/reportscreen.h"

#include "reports/output/reportoutput.h"
#include "reports/output/reportpreviewdialog.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/dberror.h"
#include "shell/db/failures.h"
#include "shell/document/documentoutput.h"
#include "shell/session.h"

#include <QApplication>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QString reportError(const std::exception &e) { return failureText(e, ErrorForm::Report); }
} // namespace

ReportScreen::ReportScreen(const FormContext &context, const QString &formName, const QString &caption, QWidget *parent)
    : RunScreen(context, formName, caption, parent)
    , m_report(context.session.folder)
    , m_codes(context.session)
{
}

ReportScreen::~ReportScreen()
{
    try {
        m_report.remove();
    } catch (const StopError &e) {
        prompter().message(e.text(), u"Message"_s, PromptIcon::Exclamation);
    }
}

LookupRequest ReportScreen::degreeLookup() const
{
    return m_codes.lookup(MasterCodes::Master::Degree,
                          u"fdegree in (select fdegree from convo where convo.fconvocode = ?)"_s,
                          {session().convoCode});
}

LookupRequest ReportScreen::collegeLookup(const QString &degree) const
{
    if (degree.isEmpty())
        return m_codes.lookup(MasterCodes::Master::College,
                              u"fcollcode in (select fcollcode from convo where convo.fconvocode = ?)"_s,
                              {session().convoCode});
    return m_codes.lookup(MasterCodes::Master::College,
                          u"fcollcode in (select fcollcode from convo where fdegree = ? and convo.fconvocode = ?)"_s,
                          {degree, session().convoCode});
}

bool ReportScreen::checkDegree(QLineEdit *code, QLineEdit *description, bool required)
{
    const QString value = code->text().trimmed();
    if (value.isEmpty()) {
        if (description)
            description->clear();
        if (!required)
            return true;
        prompter().message(u"Information should be entered"_s, u"Message"_s, PromptIcon::Information);
        return false;
    }
    const std::optional<QString> name = m_codes.describe(MasterCodes::Master::Degree, value);
    if (!name) {
        prompter().message(u"Invalid Course Code"_s, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    if (description)
        description->setText(*name);
    return true;
}

void ReportScreen::describeCollege(QLineEdit *code, QLineEdit *description)
{
    if (!description)
        return;
    description->setText(m_codes.describe(MasterCodes::Master::College, code->text()).value_or(QString()));
}

const ReportScreen::RangeBoxes &ReportScreen::addRangeBoxes()
{
    FieldFrame &f = fields();
    m_range.degreeFrom = addCode(0, u"From Degree"_s, 5);
    m_range.degreeFromName = f.addDescription(10, m_range.degreeFrom);
    m_range.degreeTo = addCode(1, u"To Degree"_s, 5);
    m_range.degreeToName = f.addDescription(11, m_range.degreeTo);
    m_range.collegeFrom = addCode(2, u"From College"_s, 4);
    m_range.collegeFromName = f.addDescription(12, m_range.collegeFrom);
    m_range.collegeTo = addCode(3, u"To College"_s, 4);
    m_range.collegeToName = f.addDescription(13, m_range.collegeTo);
    for (QLineEdit *degree : {m_range.degreeFrom, m_range.degreeTo})
        setLookup(degree, [this] { return degreeLookup(); });
    for (QLineEdit *college : {m_range.collegeFrom, m_range.collegeTo})
        setLookup(college, [this] { return collegeLookup({}); });
    return m_range;
}

bool ReportScreen::leaveRangeField(QLineEdit *field)
{
    if (field == m_range.degreeFrom)
        return checkDegree(field, m_range.degreeFromName, false);
    if (field == m_range.degreeTo)
        return checkDegree(field, m_range.degreeToName, false);
    if (field == m_range.collegeFrom)
        describeCollege(field, m_range.collegeFromName);
    else if (field == m_range.collegeTo)
        describeCollege(field, m_range.collegeToName);
    return true;
}

PageHeaderSource ReportScreen::pageHeader() const { return institutionPageHeader(session()); }

void ReportScreen::showOutput(const QString &path)
{
    if (path.isEmpty())
        return;
    if (!documentoutput::showFile(path))
        prompter().message(u"Written to "_s + path, u"Message"_s, PromptIcon::Information);
}

void ReportScreen::VPSproc(const QString &operation)
{
    if (operation != u"preview"_s)
        return;
    setBusyHint(u"Generating, Please Wait ..."_s);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool preview = false;
    try {
        preview = generate();
    } catch (const std::exception &e) {
        QApplication::restoreOverrideCursor();
        setHint({});
        prompter().message(reportError(e), u"Message"_s, PromptIcon::Critical);
        return;
    }
    QApplication::restoreOverrideCursor();
    setHint({});
    if (preview)
        ShowReportPreview(m_report.path(), session().folder, prompter(), reportPrinting(session()), this);
}

} // namespace sw
