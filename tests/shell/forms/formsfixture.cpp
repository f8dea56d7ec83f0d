// SPDX-License-Identifier: GPL-3.0-or-later
#include "formsfixture.h"

#include "shell/core/passwordcodec.h"
#include "shell/core/prompter.h"
#include "shell/startup/loginstore.h"
#include "shell/startup/startup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw::test {

LoggedInFolder::LoggedInFolder(TestBackend backend)
    : m_folder(backend)
{
    session.folder = m_folder.folder();
    session.cn = m_folder.connect();
    Startup::loadControl(session);
    db().exec(u"insert into masconvo (fconvocode, fconvoname, fdate) values (?, ?, ?)"_s,
              {u"C26"_s, u"CONVOCATION 2026"_s, u"01/02/2026"_s});
    db().exec(u"insert into masconvo (fconvocode, fconvoname, fdate) values (?, ?, ?)"_s,
              {u"C25"_s, u"CONVOCATION 2025"_s, u"01/02/2025"_s});
}

void LoggedInFolder::addUser(const QString &name, const QString &password, const QString &permissions)
{
    db().exec(u"insert into masuser (fusername, fpasswd, fpermission, fsection) values (?, ?, ?, 'B')"_s,
              {name, passwords::encodeUser(password), permissions});
}

void LoggedInFolder::login(const QString &user, const QString &password, const QString &convocation)
{
    const LoginStore store(db());
    const auto refusal = store.login(session, user, password, convocation);
    ASSERT_FALSE(refusal) << refusal->text.toStdString();
}

ExampleForm::ExampleForm(const FormContext &context, const QString &formName)
    : RecordForm(context, formName, u"Example . . ."_s)
{
    addText(0, u"Code"_s, u"Convocation code"_s, 4);
    addText(1, u"Name"_s, u"Convocation name"_s, 100);
    addDate(0, u"Date"_s, u"Convocation date"_s);
    addCheck(0, u"&Active"_s);
    // A grid named "spread": Esc inside it belongs to the grid, not to the screen.
    auto *spread = new QTableWidget(2, 2, frame());
    spread->setObjectName(u"spread"_s);
    frame()->layout()->addWidget(spread);
    registerField(u"S0"_s, spread);
    setMandatoryFields(u"T0,T1"_s);
    setFieldOrder(u"T0,T1,M0,C0"_s);
    setLookup(text(0),
              [] { return LookupRequest{u"masconvo"_s, u"fconvocode as Code, fconvoname as Name"_s, {}, {}, {}, {}}; });
}

std::optional<BoundSql> ExampleForm::recordsetStatement() const
{
    return BoundSql{u"select * from masconvo order by fconvocode"_s, {}};
}

void ExampleForm::AEDproc(EditMode mode)
{
    frame()->setEnabled(true);
    setLegend(editLegend());
    setEditMode(mode);
    if (mode == EditMode::Add) {
        ClearControls();
        enableFields(true);
        SetFieldColours(u'A');
    } else if (mode == EditMode::Edit) {
        enableFields(true);
        SetFieldColours(u'A');
    } else {
        enableFields(false);
        text(0)->setEnabled(true);
        SetFieldColours(u'D');
    }
    text(0)->setFocus();
}

void ExampleForm::CmdSave_Click()
{
    try {
        const EditMode mode = editMode();
        for (const QString &key : {u"T0"_s, u"T1"_s}) {
            if (mode != EditMode::Delete && FieldMissing(field(key))) {
                prompter().message(u"Information should be entered"_s, u"Message"_s, PromptIcon::Information);
                field(key)->setFocus();
                return;
            }
        }
        if (!codeAccepted(mode))
            return;
        const QString active = chk(0)->isChecked() ? u"T"_s : u"F"_s;
        const QString date = mskdt(0)->displayText() == emptyDate() ? QString() : mskdt(0)->displayText();
        if (mode == EditMode::Add) {
            session().db().exec(u"insert into masconvo (fconvocode, fconvoname, fdate, factive) values (?, ?, ?, ?)"_s,
                                {text(0)->text(), text(1)->text(), date, active});
        } else if (mode == EditMode::Edit) {
            session().db().exec(u"update masconvo set fconvoname = ?, fdate = ?, factive = ? where fconvocode = ?"_s,
                                {text(1)->text(), date, active, text(0)->text()});
        } else {
            session().db().exec(u"delete from masconvo where fconvocode = ?"_s, {text(0)->text()});
        }
        rsdisp().requery(session().db());
        resetForm();
    } catch (const std::exception &e) {
        showError(e);
        resetForm();
    }
}

bool ExampleForm::codeAccepted(EditMode mode)
{
    const bool found =
        session().db().exists(u"select fconvocode from masconvo where fconvocode = ?"_s, {text(0)->text()});
    QString refusal;
    if (mode == EditMode::Add && found)
        refusal = u"Code already exists."_s;
    else if (mode == EditMode::Edit && !found)
        refusal = u"Enter valid code."_s;
    if (refusal.isEmpty())
        return true;
    fields().refuse(field(u"T0"_s), refusal, PromptIcon::Exclamation);
    return false;
}

void ExampleForm::display_record(RecordSet &rows, const QString &tagname)
{
    displayed.append(tagname);
    text(0)->setText(rows.text(u"fconvocode"_s));
    text(1)->setText(rows.text(u"fconvoname"_s));
    const QString date = rows.text(u"fdate"_s);
    if (date.isEmpty())
        mskdt(0)->clear();
    else
        mskdt(0)->setText(date);
    chk(0)->setChecked(rows.text(u"factive"_s) == u"T"_s);
    setLegend(browsing() ? browseLegend() : editLegend());
}

ExampleReport::ExampleReport(const FormContext &context)
    : ReportForm(context, u"EXAMPLELIST"_s, u"Example List . . ."_s)
{
}

} // namespace sw::test
