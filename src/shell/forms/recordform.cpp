// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/recordform.h"

#include "shell/common/appearance.h"
#include "shell/common/shellhelpers.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/db/database.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/kannadabox.h"
#include "shell/ui/fieldkeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kDateMask = u"99/99/9999;_"_s;
const QString kTimeMask = u"99:99;_"_s;

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
    , m_frame(new QGroupBox(this))
    , m_grid(new QGridLayout(m_frame))
{
    m_frame->setObjectName(u"Frame"_s);
    m_grid->setColumnStretch(1, 1);
    body()->addWidget(m_frame);
    body()->addStretch();
    // The form itself takes the browsing keys when no field has the focus.
    setFocusPolicy(Qt::StrongFocus);
}

QWidget *RecordForm::addLabelled(const QString &key, const QString &label, QWidget *widget)
{
    const int row = m_nextRow++;
    if (!label.isEmpty()) {
        auto *caption = new QLabel(label, m_frame);
        caption->setObjectName(u"Label1_"_s + QString::number(row));
        caption->setBuddy(widget);
        m_grid->addWidget(caption, row, 0);
    }
    m_grid->addWidget(widget, row, 1);
    registerField(key, widget);
    return widget;
}

QLineEdit *RecordForm::addText(int index, const QString &label, const QString &toolTip, int maxLength)
{
    auto *edit = new QLineEdit(m_frame);
    edit->setObjectName(u"text_"_s + QString::number(index));
    edit->setToolTip(toolTip);
    edit->setMaxLength(maxLength);
    upperCaseTyping(edit);
    addLabelled(u"T"_s + QString::number(index), label, edit);
    return edit;
}

QLineEdit *RecordForm::addDate(int index, const QString &label, const QString &toolTip, MaskKind kind)
{
    auto *edit = new QLineEdit(m_frame);
    edit->setObjectName(u"mskdt_"_s + QString::number(index));
    edit->setToolTip(toolTip);
    edit->setInputMask(kind == MaskKind::Date ? kDateMask : kTimeMask);
    addLabelled(u"M"_s + QString::number(index), label, edit);
    return edit;
}

QCheckBox *RecordForm::addCheck(int index, const QString &caption)
{
    auto *box = new QCheckBox(caption, m_frame);
    box->setObjectName(u"chk_"_s + QString::number(index));
    addLabelled(u"C"_s + QString::number(index), {}, box);
    return box;
}

void RecordForm::registerField(const QString &key, QWidget *widget)
{
    m_fields[key] = widget;
    widget->installEventFilter(this);
}

void RecordForm::keepCase(QLineEdit *edit)
{
    // Upper-casing is a connection on textEdited; dropping it leaves the text as typed.
    QObject::disconnect(edit, &QLineEdit::textEdited, edit, nullptr);
}

QWidget *RecordForm::field(const QString &key) const
{
    const auto it = m_fields.find(key);
    return it == m_fields.end() ? nullptr : it->second;
}

QLineEdit *RecordForm::text(int index) const
{
    return qobject_cast<QLineEdit *>(field(u"T"_s + QString::number(index)));
}

QLineEdit *RecordForm::mskdt(int index) const
{
    return qobject_cast<QLineEdit *>(field(u"M"_s + QString::number(index)));
}

QCheckBox *RecordForm::chk(int index) const
{
    return qobject_cast<QCheckBox *>(field(u"C"_s + QString::number(index)));
}

QString RecordForm::keyOf(const QWidget *widget) const
{
    for (const auto &[key, w] : m_fields) {
        if (w == widget)
            return key;
    }
    return {};
}

QStringList RecordForm::orderKeys() const
{
    QStringList keys;
    for (const QString &k : m_fieldOrder.split(u',', Qt::SkipEmptyParts))
        keys.append(k.trimmed());
    return keys;
}

bool RecordForm::FieldMissing(QWidget *control) const
{
    const QString key = keyOf(control);
    if (key.isEmpty())
        return false;
    bool mandatory = false;
    for (const QString &k : m_mandatoryFields.split(u',', Qt::SkipEmptyParts))
        mandatory = mandatory || k.trimmed() == key;
    if (!mandatory)
        return false;
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        const QString shown = edit->displayText();
        if (!edit->inputMask().isEmpty())
            return shown == emptyDate() || shown == emptyTime();
        return edit->text().trimmed().isEmpty();
    }
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText().trimmed().isEmpty();
    return false;
}

void RecordForm::activated()
{
    try {
        const BoundSql statement = recordsetStatement();
        m_rsdisp.open(session().db(), statement.sql, statement.params);
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

void RecordForm::resetForm()
{
    m_editMode = u"Z"_s;
    QApplication::restoreOverrideCursor();
    ClearControls();
    enableFields(false);
    SetFieldColours(u'A');
    m_frame->setEnabled(false);
    setLegend(resetLegend());
    setHint({});
    // Only the screen in front owns the toolbar.
    if (commands().activeForm() == this)
        commands().setToolMode(ToolMode::Browse);
    setFocus();
}

void RecordForm::enableFields(bool enabled)
{
    for (const auto &[key, w] : m_fields)
        w->setEnabled(enabled);
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
    for (QTableWidget *grid : findChildren<QTableWidget *>())
        clearGrid(grid);
}

void RecordForm::SetFieldColours(QChar mode)
{
    const QColor edit = colourFromVb(session().editColour);
    const QColor plain = colourFromVb(session().fieldColour);
    for (const auto &[key, w] : m_fields) {
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

bool RecordForm::CheckCode(const CodeCheck &check, QChar mode)
{
    QString sql = u"select * from "_s + check.table + u" where "_s + check.field + u" = ?"_s;
    QVariantList params{check.value};
    if (!check.secondField.isEmpty()) {
        sql += u" and "_s + check.secondField + u" = ?"_s;
        params.append(check.secondValue);
    }
    if (!check.order.isEmpty())
        sql += u" order by "_s + check.order;
    const bool found = session().db().exists(sql, params);
    QString refusal;
    if (mode == u'A' && found)
        refusal = check.message.isEmpty() ? u"Code already exists."_s : check.message;
    else if (mode == u'E' && !found)
        refusal = check.message.isEmpty() ? u"Enter valid code."_s : check.message;
    if (refusal.isEmpty())
        return true;
    prompter().message(refusal, u"Message"_s, PromptIcon::Exclamation);
    if (QWidget *key = field(u"T0"_s))
        key->setFocus();
    return false;
}

void RecordForm::setLookup(QLineEdit *field, std::function<LookupRequest()> request)
{
    m_lookups.insert(field, std::move(request));
}

void RecordForm::openLookup(QLineEdit *field)
{
    const auto it = m_lookups.constFind(field);
    if (it == m_lookups.constEnd())
        return;
    try {
        if (const auto code = FrmHLPItem::choose(session().db(), prompter(), (*it)(), this))
            field->setText(*code);
    } catch (const std::exception &e) {
        showError(e);
    }
    // Back to the screen, with the focus in the field the lookup was opened from.
    window()->activateWindow();
    field->setFocus();
}

void RecordForm::returnFocusTo(QWidget *field)
{
    const bool checking = m_checkingField;
    m_checkingField = true;
    field->setFocus();
    m_checkingField = checking;
}

void RecordForm::moveFocus(QWidget *from, bool forward)
{
    const QStringList keys = orderKeys();
    qsizetype at = keys.indexOf(keyOf(from));
    if (at < 0)
        return;
    for (qsizetype step = 1; step < keys.size(); ++step) {
        at = forward ? at + 1 : at - 1;
        if (at < 0 || at >= keys.size())
            return;
        QWidget *next = field(keys.at(at));
        if (next && next->isEnabled() && next->isVisibleTo(this)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void RecordForm::fieldFocused(QWidget *widget)
{
    if (m_editMode != u"Z"_s) {
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    }
    QString hint = widget->toolTip();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        hint += u", Maximum length "_s + QString::number(KannadaBox::maxLength(edit));
    setHint(hint);
    setLegend(m_editMode == u"Z"_s ? browseLegend() : editLegend());
}

void RecordForm::fieldLeft(QWidget *widget)
{
    if (m_checkingField || (m_editMode != u"A"_s && m_editMode != u"E"_s))
        return;
    // The focus has already moved: only a move to another field of this screen is checked,
    // so a click on the toolbar or another window never traps the user.
    QWidget *to = QApplication::focusWidget();
    if (!to || to == widget || !isAncestorOf(to) || !FieldMissing(widget))
        return;
    // The message and the way back wait until the focus change in progress has finished.
    m_checkingField = true;
    QTimer::singleShot(0, this, [this, back = QPointer<QWidget>(widget)] {
        prompter().message(u"Information should be entered"_s, u"Message"_s, PromptIcon::Information);
        if (back)
            back->setFocus();
        m_checkingField = false;
    });
}

bool RecordForm::browsingKey(int key)
{
    if (m_editMode != u"Z"_s)
        return false;
    Command command;
    switch (key) {
    case Qt::Key_Up:
        command = Command::First;
        break;
    case Qt::Key_Left:
        command = Command::Previous;
        break;
    case Qt::Key_Right:
        command = Command::Next;
        break;
    case Qt::Key_Down:
        command = Command::Last;
        break;
    default:
        return false;
    }
    if (commands().isEnabled(command))
        commands().doCommand(command);
    return true;
}

bool RecordForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || keyOf(widget).isEmpty())
        return ChildForm::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        fieldFocused(widget);
        break;
    case QEvent::FocusOut:
        fieldLeft(widget);
        break;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F1) {
            if (auto *edit = qobject_cast<QLineEdit *>(widget); edit && m_lookups.contains(edit)) {
                openLookup(edit);
                return true;
            }
            break;
        }
        if (key->key() == Qt::Key_Escape && m_editMode != u"Z"_s && !isSpread(widget)) {
            commands().doCommand(Command::Cancel);
            return true;
        }
        if (m_editMode == u"Z"_s && browsingKey(key->key()))
            return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Down) {
            moveFocus(widget, true);
            return true;
        }
        if (key->key() == Qt::Key_Up) {
            moveFocus(widget, false);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return ChildForm::eventFilter(watched, event);
}

void RecordForm::keyPressEvent(QKeyEvent *event)
{
    if (browsingKey(event->key()))
        return;
    if (event->key() == Qt::Key_Escape && m_editMode != u"Z"_s) {
        if (!isSpread(QApplication::focusWidget()))
            commands().doCommand(Command::Cancel);
        return;
    }
    ChildForm::keyPressEvent(event);
}

void RecordForm::closeEvent(QCloseEvent *event)
{
    // A change in progress is saved or cancelled first; closing would lose it.
    if (m_editMode != u"Z"_s) {
        event->ignore();
        return;
    }
    ChildForm::closeEvent(event);
}

} // namespace sw
