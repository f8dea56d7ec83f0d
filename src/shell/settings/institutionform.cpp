// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/settings/institutionform.h"

#include "shell/core/dates.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/db/schema.h"
#include "shell/session.h"
#include "shell/settings/controlstore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

struct ControlField
{
    const char16_t *label;
    const char16_t *hint;
    const char16_t *column; // its width is the box's maximum length
};

// text(0) .. text(9) in focus order.
const ControlField kFields[] = {
    {u"Company Name", u"Name of the institution", u"FCOMPANY"},
    {u"Address", u"Address line 1", u"FADD1"},
    {u"", u"Address line 2", u"FADD2"},
    {u"", u"Address line 3", u"FADD3"},
    {u"", u"Address line 4", u"FADD4"},
    {u"Phone", u"Phone numbers", u"FPHONE"},
    {u"Fax", u"Fax numbers", u"FFAX"},
    {u"E-mail", u"E-mail address", u"FEMAIL"},
    {u"Signing Authority - 1", u"First signing authority", u"FSIGNAUTH1"},
    {u"Signing Authority - 2", u"Second signing authority", u"FSIGNAUTH2"},
};

} // namespace

InstitutionForm::InstitutionForm(const FormContext &context)
    : RecordForm(context, u"CONTROLE"_s, u"Control . . ."_s)
{
    for (int i = 0; i < 10; ++i)
        addText(i, QString::fromUtf16(kFields[i].label), QString::fromUtf16(kFields[i].hint),
                schema::columnWidth(u"CONTROL"_s, QString::fromUtf16(kFields[i].column)));
    // An e-mail address keeps its letter case.
    keepCase(text(7));
    addDate(0, u"Convocation Date"_s, u"Certificate Printing Date"_s);
    addCheck(0, u"Degree description in Kannada?"_s);
    setMandatoryFields(u"T0,T1"_s);
    setFieldOrder(u"T0,T1,T2,T3,T4,T5,T6,T7,T8,T9,M0"_s);
}

std::optional<BoundSql> InstitutionForm::recordsetStatement() const
{
    return BoundSql{u"select * from "_s + session().db().table(u"CONTROL"_s) + u" order by fcompany"_s, {}};
}

void InstitutionForm::show(const InstitutionDetails &d)
{
    const QString values[] = {d.company, d.address[0], d.address[1], d.address[2],        d.address[3],
                              d.phone,   d.fax,        d.email,      d.signingAuthority1, d.signingAuthority2};
    for (int i = 0; i < 10; ++i)
        text(i)->setText(values[i]);
    if (d.convocationDate.isValid())
        mskdt(0)->setText(d.convocationDate.toString(u"dd/MM/yyyy"_s));
    else
        mskdt(0)->clear();
    chk(0)->setChecked(d.degreeInKannada);
}

void InstitutionForm::display_record(RecordSet &, const QString &)
{
    // One row: what the store reads is what the browse stands on.
    show(ControlStore(session().db()).institution());
    setLegend(browsing() ? browseLegend() : editLegend());
}

void InstitutionForm::AEDproc(const QString &operation)
{
    if (operation == u"delete"_s)
        return; // the settings row is never deleted
    frame()->setEnabled(true);
    enableFields(true);
    SetFieldColours(u'A');
    setLegend(editLegend());
    setEditMode(operation == u"add"_s ? EditMode::Add : EditMode::Edit);
    if (editMode() == EditMode::Add)
        ClearControls();
    else
        show(ControlStore(session().db()).institution());
    text(0)->setFocus();
}

void InstitutionForm::CmdSave_Click()
{
    if (editMode() != EditMode::Add && editMode() != EditMode::Edit)
        return;
    InstitutionDetails d;
    d.company = text(0)->text();
    for (int i = 0; i < 4; ++i)
        d.address[size_t(i)] = text(1 + i)->text();
    d.phone = text(5)->text();
    d.fax = text(6)->text();
    d.email = text(7)->text();
    d.signingAuthority1 = text(8)->text();
    d.signingAuthority2 = text(9)->text();
    d.degreeInKannada = chk(0)->isChecked();
    const QString date = mskdt(0)->displayText();
    if (date != emptyDate()) {
        d.convocationDate = parseDmy(date);
        if (!d.convocationDate.isValid()) {
            prompter().message(u"Convocation Date: \"%1\" is not a date (dd/mm/yyyy)"_s.arg(date), u"Message"_s,
                               PromptIcon::Exclamation);
            returnFocusTo(mskdt(0));
            return;
        }
    }
    for (int i : {0, 1}) {
        if (text(i)->text().trimmed().isEmpty()) {
            prompter().message(u"Information should be entered"_s, u"Message"_s, PromptIcon::Information);
            returnFocusTo(text(i));
            return;
        }
    }
    try {
        ControlStore store(session().db());
        store.setActor(session().userName);
        if (!store.saveInstitution(d, prompter()))
            return;
        rsdisp().requery(session().db());
        resetForm();
        show(ControlStore(session().db()).institution());
    } catch (const std::exception &e) {
        showError(e);
        resetForm();
    }
}

} // namespace sw
