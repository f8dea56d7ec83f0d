// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/commanddispatcher.h"

#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/dberror.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/recordform.h"
#include "shell/forms/reportform.h"

using namespace Qt::StringLiterals;

namespace sw {

CommandDispatcher::CommandDispatcher(CommandActions &actions, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_actions(actions)
    , m_prompter(prompter)
{
}

RecordForm *CommandDispatcher::activeRecordForm() const { return qobject_cast<RecordForm *>(m_active.data()); }

RecordSet *CommandDispatcher::activeRows() const
{
    RecordForm *form = activeRecordForm();
    return form ? &form->rsdisp() : nullptr;
}

bool CommandDispatcher::isEnabled(Command command) const { return m_actions.isEnabled(command); }

void CommandDispatcher::setToolMode(ToolMode mode)
{
    ToolStates s{};
    switch (mode) {
    case ToolMode::Browse: {
        s[slot(Command::Add)] = s[slot(Command::Edit)] = s[slot(Command::Delete)] = s[slot(Command::Exit)] = true;
        const RecordSet *rows = activeRows();
        const bool hasRows = rows && !rows->isEmpty();
        s[slot(Command::First)] = s[slot(Command::Previous)] = s[slot(Command::Next)] = s[slot(Command::Last)] =
            hasRows;
        break;
    }
    case ToolMode::Update: s[slot(Command::Save)] = s[slot(Command::Cancel)] = true; break;
    // A screen without record commands still closes with Exit (Ctrl+T).
    case ToolMode::Disabled: s[slot(Command::Exit)] = m_active != nullptr; break;
    }
    m_actions.setStates(s);
}

void CommandDispatcher::setToolStates(const ToolStates &states) { m_actions.setStates(states); }

void CommandDispatcher::saveToolState(const QString &formName) { m_store.save(formName, m_actions.states()); }

void CommandDispatcher::restoreToolState(const QString &formName)
{
    if (const auto states = m_store.restore(formName))
        m_actions.setStates(*states);
}

void CommandDispatcher::showMode()
{
    const RecordForm *form = activeRecordForm();
    emit modeTextChanged(form ? editModeText(form->editMode()) : QString());
}

namespace {

// A mandatory list or field order naming a box the screen lacks would drop that box's
// "Information should be entered" check, or its place in the order, without a word:
// a debug build stops as such a screen opens (the screens' test opens every one).
void requireKnownKeys([[maybe_unused]] const ChildForm &form)
{
#ifndef QT_NO_DEBUG
    for (const FieldFrame *frame : form.findChildren<FieldFrame *>()) {
        if (const QStringList unknown = frame->unknownKeys(); !unknown.isEmpty())
            qFatal("%s names boxes it lacks: %s", qPrintable(form.formName()), qPrintable(unknown.join(u',')));
    }
#endif
}

} // namespace

void CommandDispatcher::activate(ChildForm *form)
{
    if (form == m_active)
        return;
    if (m_active) {
        saveToolState(m_active->formName());
        m_active->deactivated();
    }
    m_active = form;
    if (!form) {
        setToolMode(ToolMode::Disabled);
        emit activeCaptionChanged({});
        emit modeTextChanged({});
        return;
    }
    if (auto *record = qobject_cast<RecordForm *>(form)) {
        // The mode panel follows the screen in front, whatever changes its mode.
        connect(record, &RecordForm::editModeChanged, this, &CommandDispatcher::showMode, Qt::UniqueConnection);
    }
    requireKnownKeys(*form);
    emit activeCaptionChanged(form->windowTitle());
    form->activated();
    showMode();
}

void CommandDispatcher::doCommand(Command command)
{
    if (!m_active)
        return;
    try {
        dispatch(command);
    } catch (const DbError &e) {
        m_prompter.message(e.description(), u"Message"_s, PromptIcon::None);
    } catch (const StopError &e) {
        m_prompter.message(e.text(), u"Message"_s, PromptIcon::None);
    } catch (const std::exception &e) {
        m_prompter.message(QString::fromLocal8Bit(e.what()), u"Message"_s, PromptIcon::None);
    }
}

void CommandDispatcher::dispatch(Command command)
{
    if (command == Command::Exit) {
        // A record screen with a change in progress is saved or cancelled first.
        if (const RecordForm *record = activeRecordForm(); record && !record->browsing())
            return;
        // The toolbar goes to "D" before the screen closes, so the screen that takes
        // its place restores its own toolbar when it is activated.
        ChildForm *form = m_active;
        m_active = nullptr;
        setToolMode(ToolMode::Disabled);
        emit exited();
        emit modeTextChanged({});
        form->unload();
        return;
    }
    if (auto *report = qobject_cast<ReportForm *>(m_active.data())) {
        if (command == Command::Preview || command == Command::Print || command == Command::Spool)
            report->VPSproc(commandName(command));
        return;
    }
    RecordForm *form = activeRecordForm();
    if (!form)
        return;
    switch (command) {
    case Command::Add:
    case Command::Edit:
    case Command::Delete:
        setToolMode(ToolMode::Update);
        form->AEDproc(editModeFor(commandName(command)));
        break;
    case Command::Save: save(*form); break;
    case Command::Cancel:
        // Yes throws the change away: a hurried Esc, Enter keeps it.
        if (m_prompter.askRisky(u"Confirm cancel"_s, u"Cancel"_s)) {
            form->cmdCancel_Click();
            form->showOutcome(u"Cancelled: nothing was saved"_s);
        } else if (QWidget *focus = form->focusWidget()) {
            focus->setFocus();
        }
        break;
    case Command::Search: form->cmdsearch_Click(); break;
    case Command::First:
    case Command::Previous:
    case Command::Next:
    case Command::Last: navigate(*form, command); break;
    default: break;
    }
}

void CommandDispatcher::save(RecordForm &form)
{
    RecordSet &rows = form.rsdisp();
    // The row's place is remembered as the installations did, in a 16-bit number.
    const auto savedPosition = static_cast<qint16>(rows.isEmpty() ? 0 : rows.absolutePosition());
    const bool hadRows = !rows.isEmpty();
    form.CmdSave_Click();
    if (hadRows && !rows.isEmpty())
        rows.moveTo(savedPosition == 0 ? 1 : savedPosition);
}

void CommandDispatcher::navigate(RecordForm &form, Command command)
{
    RecordSet &rows = form.rsdisp();
    const auto enable = [this](std::initializer_list<Command> commands, bool on) {
        for (Command c : commands)
            m_actions.setEnabled(c, on);
    };
    switch (command) {
    case Command::First:
        rows.moveFirst();
        form.display_record(rows, commandName(command));
        enable({Command::First, Command::Previous}, false);
        enable({Command::Next, Command::Last}, true);
        break;
    case Command::Previous:
        if (!rows.bof()) {
            rows.movePrevious();
            enable({Command::Next, Command::Last}, true);
            if (rows.bof()) {
                rows.moveFirst();
                enable({Command::First, Command::Previous}, false);
            }
        }
        form.display_record(rows, commandName(command));
        break;
    case Command::Next:
        if (!rows.eof()) {
            rows.moveNext();
            enable({Command::First, Command::Previous}, true);
            if (rows.eof()) {
                rows.moveLast();
                enable({Command::Next, Command::Last}, false);
            }
        }
        form.display_record(rows, commandName(command));
        break;
    case Command::Last:
        rows.moveLast();
        form.display_record(rows, commandName(command));
        enable({Command::First, Command::Previous}, true);
        enable({Command::Next, Command::Last}, false);
        break;
    default: break;
    }
}

} // namespace sw
