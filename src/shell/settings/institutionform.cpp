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

// text_0 .. text_9 in focus order.
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
    QLineEdit *boxes[std::size(kFields)];
    for (int i = 0; i < int(std::size(kFields)); ++i)
        boxes[i] = addText(i, QString::fromUtf16(kFields[i].label), QString::fromUtf16(kFields[i].hint),
                           schema::columnWidth(u"CONTROL"_s, QString::fromUtf16(kFields[i].column)));
    m_company = boxes[0];
    m_address = {boxes[1], boxes[2], boxes[3], boxes[4]};
    m_phone = boxes[5];
    m_fax = boxes[6];
    m_email = boxes[7];
    m_signingAuthority1 = boxes[8];
    m_signingAuthority2 = boxes[9];
    // An e-mail address keeps its letter case.
    keepCase(m_email);
    m_convocationDate = addDate(0, u"Convocation Date"_s, u"Certificate Printing Date"_s);
    m_degreeInKannada = addCheck(0, u"Degree description in Kannada?"_s);
    setMandatoryFields(u"T0,T1"_s);
    setFieldOrder(u"T0,T1,T2,T3,T4,T5,T6,T7,T8,T9,M0"_s);
}

std::optional<BoundSql> InstitutionForm::recordsetStatement() const
{
    return ControlStore::browseStatement(session().db());
}

void InstitutionForm::show(const InstitutionDetails &d)
{
    m_company->setText(d.company);
    for (std::size_t i = 0; i < m_address.size(); ++i)
        m_address[i]->setText(d.address[i]);
    m_phone->setText(d.phone);
    m_fax->setText(d.fax);
    m_email->setText(d.email);
    m_signingAuthority1->setText(d.signingAuthority1);
    m_signingAuthority2->setText(d.signingAuthority2);
    if (d.convocationDate.isValid())
        m_convocationDate->setText(d.convocationDate.toString(u"dd/MM/yyyy"_s));
    else
        m_convocationDate->clear();
    m_degreeInKannada->setChecked(d.degreeInKannada);
}

void InstitutionForm::display_record(RecordSet &, const QString &)
{
    // One row: what the store reads is what the browse stands on.
    show(ControlStore(session().db()).institution());
    setLegend(browsing() ? browseLegend() : editLegend());
}

void InstitutionForm::AEDproc(EditMode mode)
{
    if (mode == EditMode::Delete)
        return; // the settings row is never deleted
    frame()->setEnabled(true);
    enableFields(true);
    SetFieldColours(u'A');
    setLegend(editLegend());
    setEditMode(mode);
    if (editMode() == EditMode::Add)
        ClearControls();
    else
        show(ControlStore(session().db()).institution());
    m_company->setFocus();
}

void InstitutionForm::CmdSave_Click()
{
    if (editMode() != EditMode::Add && editMode() != EditMode::Edit)
        return;
    InstitutionDetails d;
    d.company = m_company->text();
    for (std::size_t i = 0; i < m_address.size(); ++i)
        d.address[i] = m_address[i]->text();
    d.phone = m_phone->text();
    d.fax = m_fax->text();
    d.email = m_email->text();
    d.signingAuthority1 = m_signingAuthority1->text();
    d.signingAuthority2 = m_signingAuthority2->text();
    d.degreeInKannada = m_degreeInKannada->isChecked();
    const QString date = m_convocationDate->displayText();
    if (date != emptyDate()) {
        d.convocationDate = parseDmy(date);
        if (!d.convocationDate.isValid()) {
            prompter().message(u"Convocation Date: \"%1\" is not a date (dd/mm/yyyy)"_s.arg(date), u"Message"_s,
                               PromptIcon::Exclamation);
            returnFocusTo(m_convocationDate);
            return;
        }
    }
    for (QLineEdit *box : {m_company, m_address[0]}) {
        if (box->text().trimmed().isEmpty()) {
            prompter().message(u"Information should be entered"_s, u"Message"_s, PromptIcon::Information);
            returnFocusTo(box);
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
