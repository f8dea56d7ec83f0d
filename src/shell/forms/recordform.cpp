// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/recordform.h"

#include "shell/common/appearance.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/session.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

bool isSpread(const QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        if (w->objectName() == u"spread"_s)
            return true;
    }
    return false;
}

void paint(QLineEdit *edit, const QColor &colour, bool bold)
{
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, colour);
    edit->setPalette(p);
    QFont f = edit->font();
    f.setBold(bold);
    edit->setFont(f);
}

} // namespace

RecordForm::RecordForm(const FormContext &context, const QString &formName, const QString &caption, QWidget *parent)
    : ChildForm(context, formName, caption, parent)
    , m_fields(new FieldFrame(this, context.session, context.prompter))
{
    addCentred(m_fields->box());
    m_fields->setChecksActive([this] { return !browsing(); });
    m_fields->setKeyHook([this](QWidget *field, QKeyEvent *event) { return fieldKey(field, event); });
    connect(m_fields, &FieldFrame::focused, this, [this](QWidget *field, const QString &hint) {
        if (!browsing()) {
            if (auto *edit = qobject_cast<QLineEdit *>(field))
                QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        }
        setHint(hint);
        setLegend(browsing() ? browseLegend() : editLegend());
    });
    // The form itself takes the browsing keys when no field has the focus.
    setFocusPolicy(Qt::StrongFocus);
}

QLineEdit *RecordForm::addText(int index, const QString &label, const QString &toolTip, int maxLength)
{
    return m_fields->addText(index, label, toolTip, maxLength);
}

QLineEdit *RecordForm::addDate(int index, const QString &label, const QString &toolTip, MaskKind kind)
{
    return m_fields->addDate(index, label, toolTip, kind);
}

QCheckBox *RecordForm::addCheck(int index, const QString &caption) { return m_fields->addCheck(index, caption); }

void RecordForm::setLookup(QLineEdit *field, std::function<LookupRequest()> request)
{
    m_fields->setLookup(field, std::move(request));
}

void RecordForm::setEditMode(EditMode mode)
{
    if (mode == m_editMode)
        return;
    m_editMode = mode;
    emit editModeChanged(mode);
}

void RecordForm::activated()
{
    try {
        if (const std::optional<BoundSql> statement = recordsetStatement())
            m_rsdisp.open(session().db(), statement->sql, statement->params);
        if (m_firstActivate) {
            m_firstActivate = false;
            resetForm();
        } else {
            commands().restoreToolState(formName());
        }
    } catch (const std::exception &e) {
        showError(e);
        resetForm();
    }
}

void RecordForm::AEDproc(EditMode mode)
{
    showOutcome({});
    frame()->setEnabled(true);
    enableFields(true);
    SetFieldColours(u'H');
    setLegend(editLegend());
    auto *key = qobject_cast<QLineEdit *>(field(u"T0"_s));
    const bool recordShown = !key->text().trimmed().isEmpty();
    setEditMode(mode);
    if (mode == EditMode::Add) {
        clearForAdd();
        key->setFocus();
        return;
    }
    if (!recordShown) {
        key->setFocus();
        return;
    }
    key->setEnabled(false);
    SetFieldColours(u'D');
    if (mode == EditMode::Delete) {
        confirmDelete();
        return;
    }
    moveFocus(key, true);
}

void RecordForm::resetForm()
{
    setEditMode(EditMode::Browse);
    QApplication::restoreOverrideCursor();
    ClearControls();
    enableFields(false);
    SetFieldColours(u'A');
    frame()->setEnabled(false);
    setLegend(resetLegend());
    setHint({});
    // Only the screen in front owns the toolbar.
    if (commands().activeForm() == this)
        commands().setToolMode(ToolMode::Browse);
    setFocus();
}

bool RecordForm::settleWork()
{
    // The clerk sees the screen the question is about.
    if (auto *sub = parentWidget())
        sub->raise();
    const PromptAnswer answer =
        prompter().ask(windowTitle() + u"\n\nThe changes on this screen are not saved. Save them before closing?"_s,
                       u"Message"_s, PromptIcon::Question, PromptButtons::YesNoCancel, PromptAnswer::Yes);
    if (answer == PromptAnswer::Cancel)
        return false;
    if (answer == PromptAnswer::Yes) {
        CmdSave_Click();
        // A refused save keeps the screen open with what was typed.
        return browsing();
    }
    cmdCancel_Click();
    return true;
}

void RecordForm::ClearControls()
{
    for (QLineEdit *edit : findChildren<QLineEdit *>()) {
        // The editors inside combo boxes and spin boxes belong to them.
        if (qobject_cast<QComboBox *>(edit->parentWidget()))
            continue;
        edit->clear(); // a masked box shows its mask again: "__/__/____" or "__:__"
    }
    for (QCheckBox *box : findChildren<QCheckBox *>())
        box->setCheckState(Qt::Unchecked);
    for (QComboBox *combo : findChildren<QComboBox *>())
        combo->setCurrentIndex(-1);
    for (QListWidget *list : findChildren<QListWidget *>())
        list->clear();
    for (QTreeWidget *tree : findChildren<QTreeWidget *>())
        tree->clear();
    for (QTableWidget *grid : findChildren<QTableWidget *>()) {
        grid->clearContents();
        grid->setRowCount(0);
    }
}

void RecordForm::SetFieldColours(QChar mode)
{
    const QColor edit = colourFromBgrText(session().editColour);
    const QColor plain = colourFromBgrText(session().fieldColour);
    for (const auto &[key, w] : m_fields->fields()) {
        auto *box = qobject_cast<QLineEdit *>(w);
        if (!box || !(key.startsWith(u'T') || key.startsWith(u'M')))
            continue;
        const bool isKey = key == u"T0"_s;
        bool highlighted = true;
        if (mode == u'D')
            highlighted = isKey;
        else if (mode == u'H')
            highlighted = !isKey;
        paint(box, highlighted ? edit : plain, highlighted);
    }
}

bool RecordForm::browsingKey(int key)
{
    if (!browsing())
        return false;
    Command command;
    switch (key) {
    case Qt::Key_Up: command = Command::First; break;
    case Qt::Key_Left: command = Command::Previous; break;
    case Qt::Key_Right: command = Command::Next; break;
    case Qt::Key_Down: command = Command::Last; break;
    default: return false;
    }
    if (commands().isEnabled(command))
        commands().doCommand(command);
    return true;
}

bool RecordForm::fieldKey(QWidget *field, QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !browsing() && !isSpread(field)) {
        commands().doCommand(Command::Cancel);
        return true;
    }
    // A grid keeps its arrows for its cells.
    return !isSpread(field) && browsingKey(event->key());
}

void RecordForm::keyPressEvent(QKeyEvent *event)
{
    if (browsingKey(event->key()))
        return;
    if (event->key() == Qt::Key_Escape && !browsing()) {
        if (!isSpread(QApplication::focusWidget()))
            commands().doCommand(Command::Cancel);
        return;
    }
    ChildForm::keyPressEvent(event);
}

} // namespace sw
