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
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QString reportError(const std::exception &e) { return failureText(e, ErrorForm::Report); }
} // namespace

ReportScreen::ReportScreen(const FormContext &context, const QString &formName, const QString &caption, QWidget *parent)
    : ReportForm(context, formName, caption, parent)
    , m_report(context.session.folder)
    , m_codes(context.session)
    , m_fields(addFieldFrame())
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

QLineEdit *ReportScreen::text(int index) const { return m_fields->text(index); }

QLineEdit *ReportScreen::mskdt(int index) const { return m_fields->mskdt(index); }

QCheckBox *ReportScreen::chk(int index) const { return m_fields->chk(index); }

QRadioButton *ReportScreen::opt(int index) const { return m_fields->opt(index); }

void ReportScreen::follow(QWidget *field)
{
    m_order << m_fields->keyOf(field);
    m_fields->setFieldOrder(m_order.join(u','));
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        m_fields->setCheck(edit, [this, edit] { return fieldLeft(edit); });
}

QLineEdit *ReportScreen::addCode(int index, const QString &caption, int maxLength, int descriptionIndex)
{
    QLineEdit *edit = m_fields->addText(index, caption, caption, maxLength);
    if (descriptionIndex >= 0)
        m_fields->addDescription(descriptionIndex, edit);
    follow(edit);
    return edit;
}

QLineEdit *ReportScreen::addDate(int index, const QString &caption)
{
    QLineEdit *edit = m_fields->addDate(index, caption, caption);
    follow(edit);
    return edit;
}

QCheckBox *ReportScreen::addCheck(int index, const QString &caption)
{
    QCheckBox *box = m_fields->addCheck(index, caption);
    follow(box);
    return box;
}

QRadioButton *ReportScreen::addOption(int index, const QString &caption)
{
    QRadioButton *button = m_fields->addOption(index, caption);
    follow(button);
    return button;
}

void ReportScreen::makeExclusive(const QList<int> &checkIndexes)
{
    for (int index : checkIndexes) {
        QCheckBox *box = chk(index);
        connect(box, &QCheckBox::toggled, this, [this, box, checkIndexes](bool on) {
            if (!on)
                return;
            for (int other : checkIndexes) {
                if (chk(other) != box)
                    chk(other)->setChecked(false);
            }
        });
    }
}

void ReportScreen::setLookup(QLineEdit *field, std::function<LookupRequest()> request)
{
    m_fields->setLookup(field, std::move(request));
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

bool ReportScreen::fieldLeft(QLineEdit *) { return true; }

void ReportScreen::addRangeBoxes()
{
    addCode(0, u"From Degree"_s, 5, 10);
    addCode(1, u"To Degree"_s, 5, 11);
    addCode(2, u"From College"_s, 4, 12);
    addCode(3, u"To College"_s, 4, 13);
    for (int i : {0, 1})
        setLookup(text(i), [this] { return degreeLookup(); });
    for (int i : {2, 3})
        setLookup(text(i), [this] { return collegeLookup({}); });
}

bool ReportScreen::leaveRangeField(QLineEdit *field)
{
    for (int i : {0, 1}) {
        if (field == text(i))
            return checkDegree(text(i), text(10 + i), false);
    }
    for (int i : {2, 3}) {
        if (field == text(i))
            describeCollege(text(i), text(10 + i));
    }
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
