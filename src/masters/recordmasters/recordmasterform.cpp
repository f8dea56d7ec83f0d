// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/recordmasters/recordmasterform.h"

#include "masters/recordmasters/recordmasterstore.h"
#include "shell/forms/kannadabox.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/forms/commanddispatcher.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

QString RecordMasterForm::degreeDescription(const SqlDialect &dialect)
{
    // The description, and the speciality in brackets after it when the degree has one.
    const QString special = dialect.coalesce(u"fspecial"_s, u"''"_s);
    return dialect.concat({dialect.coalesce(u"fdescpn"_s, u"''"_s),
                           u"case when "_s + special + u" <> '' then "_s
                               + dialect.concat({u"' ('"_s, special, u"')'"_s}) + u" else '' end"_s});
}

RecordMasterForm::RecordMasterForm(const FormContext &context, const RecordMasterKind &kind)
    : RecordForm(context, kind.menuCode, kind.caption)
    , m_kind(kind)
{
    QStringList keys;
    for (int i = 0; i < int(kind.fields.size()); ++i) {
        const RecordMasterField &f = kind.fields[size_t(i)];
        QLineEdit *box = addText(i, f.label, f.label, f.width);
        if (f.kannada)
            keepCase(box);
        if (f.mandatory)
            keys << u"T%1"_s.arg(i);
        box->installEventFilter(this);
    }
    if (!kind.flagColumn.isEmpty())
        addCheck(0, kind.flagLabel);
    setMandatoryFields(keys.join(u','));
    setFieldOrder(keys.join(u','));
    setLookup(text(0), [this] {
        QString columns = m_kind.lookupFields;
        if (m_kind.menuCode == u"DEGREE"_s)
            columns = u"fdegree as fdegree, "_s + degreeDescription(session().db().dialect()) + u" as fdesc"_s;
        return LookupRequest{session().db().table(m_kind.table), columns, {}, {}, {}, {}};
    });
}

void RecordMasterForm::activated()
{
    RecordForm::activated();
    for (int i = 0; i < int(m_kind.fields.size()); ++i) {
        if (m_kind.fields[size_t(i)].kannada)
            KannadaBox::attach(text(i), kannadaFont(), 13);
    }
}

BoundSql RecordMasterForm::recordsetStatement() const
{
    return {u"select * from "_s + session().db().table(m_kind.table) + u" order by "_s + m_kind.key().column, {}};
}

void RecordMasterForm::show(const MasterRecord &record)
{
    for (int i = 0; i < int(m_kind.fields.size()); ++i)
        text(i)->setText(record.values.value(i));
    if (!m_kind.flagColumn.isEmpty())
        chk(0)->setChecked(record.flag);
}

MasterRecord RecordMasterForm::typed() const
{
    MasterRecord record;
    for (int i = 0; i < int(m_kind.fields.size()); ++i)
        record.values << KannadaBox::storedText(text(i));
    if (!m_kind.flagColumn.isEmpty())
        record.flag = chk(0)->isChecked();
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
    setLegend(editMode() == u"Z"_s ? browseLegend() : editLegend());
}

void RecordMasterForm::AEDproc(const QString &operation)
{
    frame()->setEnabled(true);
    enableFields(true);
    SetFieldColours(u'H');
    setLegend(editLegend());
    const bool recordShown = !text(0)->text().trimmed().isEmpty();
    if (operation == u"add"_s) {
        setEditMode(u"A"_s);
        ClearControls();
        text(0)->setFocus();
        return;
    }
    setEditMode(operation == u"edit"_s ? u"E"_s : u"D"_s);
    if (!recordShown) {
        text(0)->setFocus();
        return;
    }
    text(0)->setEnabled(false);
    SetFieldColours(u'D');
    if (editMode() == u"D"_s) {
        confirmDelete();
        return;
    }
    moveFocus(text(0), true);
}

bool RecordMasterForm::lookUpTypedCode()
{
    RecordMasterStore store(session().db(), m_kind);
    const auto found = store.find(text(0)->text());
    if (!found) {
        prompter().message(m_kind.invalidMessage, u"Message"_s, PromptIcon::Exclamation);
        text(0)->setFocus();
        return false;
    }
    show(*found);
    SetFieldColours(u'D');
    return true;
}

void RecordMasterForm::confirmDelete()
{
    const QString code = text(0)->text().trimmed();
    if (prompter().ask(u"Confirm deletion"_s, u"Delete"_s, PromptIcon::Question, PromptButtons::YesNo,
                       PromptAnswer::No)
        == PromptAnswer::Yes) {
        RecordMasterStore store(session().db(), m_kind);
        store.remove(code, prompter());
        rsdisp().requery(session().db());
    }
    resetForm();
}

bool RecordMasterForm::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the key box in edit or delete brings its row, as a lookup would.
    if (watched == text(0) && event->type() == QEvent::KeyPress && !text(0)->text().trimmed().isEmpty()
        && (editMode() == u"E"_s || editMode() == u"D"_s)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
            if (!lookUpTypedCode())
                return true;
            text(0)->setEnabled(false);
            if (editMode() == u"D"_s) {
                confirmDelete();
                return true;
            }
            moveFocus(text(0), true);
            return true;
        }
    }
    // Enter in the Kannada speciality box stays there: the legacy keyboard uses it.
    if (event->type() == QEvent::KeyPress && m_kind.menuCode == u"DEGREE"_s && watched == text(4)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return RecordForm::eventFilter(watched, event);
}

void RecordMasterForm::CmdSave_Click()
{
    try {
        RecordMasterStore store(session().db(), m_kind);
        const MasterRecord record = typed();
        if (const auto problem = store.check(record)) {
            prompter().message(problem->message, u"Message"_s, PromptIcon::Information);
            text(problem->field)->setEnabled(true);
            text(problem->field)->setFocus();
            return;
        }
        bool saved = false;
        if (editMode() == u"A"_s) {
            saved = store.insert(record, prompter());
        } else if (editMode() == u"E"_s) {
            if (!store.find(record.values.front())) {
                prompter().message(m_kind.invalidMessage, u"Message"_s, PromptIcon::Exclamation);
                return;
            }
            saved = store.update(record, prompter());
        }
        if (!saved)
            return;
        rsdisp().requery(session().db());
        resetForm();
    } catch (const std::exception &e) {
        showError(e);
        resetForm();
    }
}

} // namespace sw
