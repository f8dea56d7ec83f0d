// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/recordmasters/recordmasterform.h"

#include "masters/mastercodes.h"
#include "masters/recordmasters/recordmasterstore.h"
#include "shell/forms/kannadabox.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/forms/commanddispatcher.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

RecordMasterForm::RecordMasterForm(const FormContext &context, const RecordMasterKind &kind)
    : RecordForm(context, kind.menuCode, kind.caption)
    , m_kind(kind)
{
    QStringList keys;
    for (int i = 0; i < int(kind.fields.size()); ++i) {
        const RecordMasterField &f = kind.fields[size_t(i)];
        QLineEdit *box = addText(i, f.label, f.label, f.width);
        m_boxes.append(box);
        if (f.kannada)
            keepCase(box);
        if (f.mandatory)
            keys << u"T%1"_s.arg(i);
    }
    if (!kind.flagColumn.isEmpty())
        m_flag = addCheck(0, kind.flagLabel);
    m_key = m_boxes.front();
    setMandatoryFields(keys.join(u','));
    setFieldOrder(keys.join(u','));
    setLookup(m_key, [this] { return keyLookup(); });
    fields().setCheck(m_key, [this] { return leaveKey(); });
}

LookupRequest RecordMasterForm::keyLookup() const
{
    // The masters' own lookup: code, description and, for degrees, the speciality.
    const MasterCodes codes(session());
    if (m_kind.menuCode == u"DEGREE"_s)
        return codes.lookup(MasterCodes::Master::Degree);
    if (m_kind.menuCode == u"MASCLASS"_s)
        return codes.lookup(MasterCodes::Master::Class);
    return codes.lookup(MasterCodes::Master::Convocation);
}

void RecordMasterForm::activated()
{
    RecordForm::activated();
    for (int i = 0; i < int(m_kind.fields.size()); ++i) {
        if (m_kind.fields[size_t(i)].kannada)
            KannadaBox::attach(m_boxes[i], kannadaFont(), 13);
    }
    // The Kannada boxes are taller now: the window grows rather than squeezing them.
    growWindowToFit();
}

std::optional<BoundSql> RecordMasterForm::recordsetStatement() const
{
    return RecordMasterStore(session().db(), m_kind).browseStatement();
}

void RecordMasterForm::show(const MasterRecord &record)
{
    for (int i = 0; i < int(m_kind.fields.size()); ++i)
        m_boxes[i]->setText(record.values.value(i));
    if (m_flag)
        m_flag->setChecked(record.flag);
}

MasterRecord RecordMasterForm::typed() const
{
    MasterRecord record;
    for (int i = 0; i < int(m_kind.fields.size()); ++i)
        record.values << KannadaBox::storedText(m_boxes[i]);
    if (m_flag)
        record.flag = m_flag->isChecked();
    return record;
}

void RecordMasterForm::display_record(RecordSet &rows, const QString &)
{
    MasterRecord record;
    for (const RecordMasterField &f : m_kind.fields)
        record.values << rows.text(f.column);
    if (!m_kind.flagColumn.isEmpty())
        record.flag = rows.text(m_kind.flagColumn) == u"T"_s;
    show(record);
    setLegend(browsing() ? browseLegend() : editLegend());
}

bool RecordMasterForm::lookUpTypedCode()
{
    RecordMasterStore store(session().db(), m_kind);
    store.setActor(session().userName);
    const auto found = store.find(m_key->text());
    if (!found) {
        prompter().message(m_kind.invalidMessage, u"Message"_s, PromptIcon::Exclamation);
        m_key->setFocus();
        return false;
    }
    show(*found);
    SetFieldColours(u'D');
    return true;
}

void RecordMasterForm::confirmDelete()
{
    const QString code = m_key->text().trimmed();
    QString said = u"Not deleted: "_s + code;
    if (prompter().ask(u"Confirm deletion"_s, u"Delete"_s, PromptIcon::Question, PromptButtons::YesNo, PromptAnswer::No)
        == PromptAnswer::Yes) {
        RecordMasterStore store(session().db(), m_kind);
        store.setActor(session().userName);
        if (store.remove(code, prompter()))
            said = u"Deleted "_s + code;
        rsdisp().requery(session().db());
    }
    resetForm();
    showOutcome(said);
}

bool RecordMasterForm::leaveKey()
{
    if (editMode() != EditMode::Edit && editMode() != EditMode::Delete)
        return true;
    if (!lookUpTypedCode())
        return false;
    m_key->setEnabled(false);
    if (editMode() == EditMode::Delete)
        confirmDelete();
    return true;
}

bool RecordMasterForm::fieldKey(QWidget *field, QKeyEvent *event)
{
    // Enter in the Kannada speciality box stays there: the legacy keyboard uses it.
    if (m_kind.menuCode == u"DEGREE"_s && field == m_boxes.value(4)
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        return true;
    return RecordForm::fieldKey(field, event);
}

void RecordMasterForm::CmdSave_Click()
{
    try {
        RecordMasterStore store(session().db(), m_kind);
        store.setActor(session().userName);
        const MasterRecord record = typed();
        if (!fields().checkFocused())
            return;
        if (const auto problem = store.check(record)) {
            QLineEdit *refused = m_boxes.value(problem->field);
            refused->setEnabled(true);
            fields().refuse(refused, problem->message, PromptIcon::Information);
            showOutcome(u"Not saved: "_s + problem->message);
            return;
        }
        bool saved = false;
        if (editMode() == EditMode::Add) {
            saved = store.insert(record, prompter());
        } else if (editMode() == EditMode::Edit) {
            if (!store.find(record.values.front())) {
                prompter().message(m_kind.invalidMessage, u"Message"_s, PromptIcon::Exclamation);
                return;
            }
            saved = store.update(record, prompter());
        }
        if (!saved) {
            showOutcome(u"Not saved: "_s + record.values.front().trimmed());
            return;
        }
        rsdisp().requery(session().db());
        resetForm();
        showOutcome(u"Saved "_s + record.values.front().trimmed());
    } catch (const std::exception &e) {
        showError(e);
        resetForm();
    }
}

} // namespace sw
