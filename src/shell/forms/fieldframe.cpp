// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/fieldframe.h"

#include "shell/core/dates.h"
#include "shell/db/dberror.h"
#include "shell/forms/kannadabox.h"
#include "shell/session.h"
#include "shell/ui/fieldkeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kDateMask = u"99/99/9999;_"_s;
const QString kTimeMask = u"99:99;_"_s;

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// A field on a page of a tabbed frame that is not showing brings its page forward.
void bringPageForward(QWidget *field, QWidget *screen)
{
    for (QWidget *w = field; w && w != screen; w = w->parentWidget()) {
        auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr);
        if (tabs && tabs->indexOf(w) >= 0)
            tabs->setCurrentWidget(w);
    }
}

} // namespace

// ---- FieldBox --------------------------------------------------------------------

FieldBox::FieldBox(int widthInCharacters, QWidget *parent)
    : QLineEdit(parent)
    , m_characters(std::clamp(widthInCharacters, 2, kWidest))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize FieldBox::sizeHint() const
{
    const QSize base = QLineEdit::sizeHint();
    // Codes are typed in capitals, wider than the average letter: a short box gets room
    // for capitals, a long one for the mixed text of names.
    const int letter = fontMetrics().horizontalAdvance(u'N');
    const int height = base.height() + (KannadaBox::showsUnicode(this) ? KannadaBox::stackedLettersRoom(font()) : 0);
    return {letter * (m_characters + 1) + 10, height};
}

QSize FieldBox::minimumSizeHint() const { return sizeHint(); }

// ---- FieldFrame ------------------------------------------------------------------

FieldFrame::FieldFrame(QWidget *screen, Session &session, Prompter &prompter)
    : QObject(screen)
    , m_screen(screen)
    , m_session(session)
    , m_prompter(prompter)
    , m_box(new QGroupBox(screen))
    , m_grid(new QGridLayout(m_box))
{
    m_box->setObjectName(u"Frame"_s);
    // The frame keeps the size its boxes give it; the screen centres it.
    m_box->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
}

void FieldFrame::place(const QString &label, QWidget *widget, const QString &key)
{
    const int row = m_nextRow++;
    if (!label.isEmpty()) {
        auto *caption = new QLabel(label, m_box);
        caption->setObjectName(u"Label1_"_s + QString::number(row));
        caption->setBuddy(widget);
        m_grid->addWidget(caption, row, 0);
        m_captions.insert(widget, caption);
    }
    m_grid->addWidget(widget, row, 1, Qt::AlignLeft);
    registerField(key, widget);
}

FieldBox *FieldFrame::addText(int index, const QString &label, const QString &toolTip, int maxLength)
{
    auto *box = new FieldBox(maxLength, m_box);
    box->setObjectName(u"text_"_s + QString::number(index));
    box->setToolTip(toolTip);
    box->setMaxLength(maxLength);
    upperCaseTyping(box);
    place(label, box, u"T"_s + QString::number(index));
    return box;
}

FieldBox *FieldFrame::addDate(int index, const QString &label, const QString &toolTip, MaskKind kind)
{
    auto *box = new FieldBox(kind == MaskKind::Date ? 10 : 5, m_box);
    box->setObjectName(u"mskdt_"_s + QString::number(index));
    box->setToolTip(toolTip);
    box->setInputMask(kind == MaskKind::Date ? kDateMask : kTimeMask);
    place(label, box, u"M"_s + QString::number(index));
    return box;
}

QCheckBox *FieldFrame::addCheck(int index, const QString &caption)
{
    auto *box = new QCheckBox(caption, m_box);
    box->setObjectName(u"chk_"_s + QString::number(index));
    place({}, box, u"C"_s + QString::number(index));
    return box;
}

QRadioButton *FieldFrame::addOption(int index, const QString &caption)
{
    auto *button = new QRadioButton(caption, m_box);
    button->setObjectName(u"opt_"_s + QString::number(index));
    place({}, button, u"O"_s + QString::number(index));
    return button;
}

FieldBox *FieldFrame::addDescription(int index, QWidget *anchor)
{
    auto *box = new FieldBox(FieldBox::kWidest, m_box);
    box->setObjectName(u"text_"_s + QString::number(index));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    m_grid->getItemPosition(m_grid->indexOf(anchor), &row, &column, &rowSpan, &columnSpan);
    m_grid->addWidget(box, row, column + columnSpan, 1, 2, Qt::AlignLeft);
    registerField(u"T"_s + QString::number(index), box);
    return box;
}

void FieldFrame::moveBeside(QWidget *field, QWidget *anchor)
{
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    m_grid->getItemPosition(m_grid->indexOf(anchor), &row, &column, &rowSpan, &columnSpan);
    m_grid->removeWidget(field);
    if (QWidget *caption = m_captions.value(field)) {
        m_grid->removeWidget(caption);
        m_grid->addWidget(caption, row, column + columnSpan, Qt::AlignRight);
        ++column;
    }
    m_grid->addWidget(field, row, column + columnSpan, Qt::AlignLeft);
}

void FieldFrame::addField(const QString &key, const QString &label, QWidget *widget)
{
    widget->setParent(m_box);
    place(label, widget, key);
}

void FieldFrame::registerField(const QString &key, QWidget *widget)
{
    m_fields[key] = widget;
    widget->installEventFilter(this);
}

void FieldFrame::keepCase(QLineEdit *box)
{
    // Upper-casing is a connection on textEdited; dropping it leaves the text as typed.
    QObject::disconnect(box, &QLineEdit::textEdited, box, nullptr);
}

void FieldFrame::setLookup(QLineEdit *box, std::function<LookupRequest()> request)
{
    m_lookups.insert(box, std::move(request));
}

void FieldFrame::setCode(QLineEdit *box, CodeSource source, QLineEdit *description)
{
    if (source.lookup)
        setLookup(box, source.lookup);
    m_codes.insert(box, Code{std::move(source), description});
}

void FieldFrame::setCheck(QWidget *field, std::function<bool()> check) { m_checks[field].push_back(std::move(check)); }

QWidget *FieldFrame::field(const QString &key) const
{
    const auto it = m_fields.find(key);
    return it == m_fields.end() ? nullptr : it->second;
}

QString FieldFrame::keyOf(const QWidget *widget) const
{
    for (const auto &[key, w] : m_fields) {
        if (w == widget)
            return key;
    }
    return {};
}

QLineEdit *FieldFrame::text(int index) const
{
    return qobject_cast<QLineEdit *>(field(u"T"_s + QString::number(index)));
}

QLineEdit *FieldFrame::mskdt(int index) const
{
    return qobject_cast<QLineEdit *>(field(u"M"_s + QString::number(index)));
}

QCheckBox *FieldFrame::chk(int index) const
{
    return qobject_cast<QCheckBox *>(field(u"C"_s + QString::number(index)));
}

QRadioButton *FieldFrame::opt(int index) const
{
    return qobject_cast<QRadioButton *>(field(u"O"_s + QString::number(index)));
}

QStringList FieldFrame::unknownKeys() const
{
    QStringList unknown;
    for (const QString &key : keys(m_mandatory) + keys(m_order)) {
        if (!field(key) && !unknown.contains(key))
            unknown.append(key);
    }
    return unknown;
}

QStringList FieldFrame::keys(const QString &list) const
{
    QStringList out;
    for (const QString &k : list.split(u',', Qt::SkipEmptyParts))
        out.append(k.trimmed());
    return out;
}

bool FieldFrame::isEmpty(const QWidget *control)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
        if (!edit->inputMask().isEmpty()) {
            const QString shown = edit->displayText();
            return shown == emptyDate() || shown == emptyTime();
        }
        return edit->text().trimmed().isEmpty();
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText().trimmed().isEmpty();
    return false;
}

bool FieldFrame::FieldMissing(QWidget *control) const
{
    const QString key = keyOf(control);
    return !key.isEmpty() && keys(m_mandatory).contains(key) && isEmpty(control);
}

bool FieldFrame::checkDate(QWidget *field)
{
    auto *box = qobject_cast<QLineEdit *>(field);
    if (!box || box->inputMask() != kDateMask || isEmpty(box) || parseDmy(box->text()).isValid())
        return true;
    QString name = box->objectName();
    if (const auto *caption = qobject_cast<QLabel *>(m_captions.value(field)))
        name = caption->text().remove(u'&').remove(u':').trimmed();
    refuse(field, u"%1: \"%2\" is not a date (dd/mm/yyyy)"_s.arg(name, box->displayText()), PromptIcon::Exclamation);
    return false;
}

void FieldFrame::refuse(QWidget *field, const QString &text, PromptIcon icon)
{
    m_prompter.message(text, u"Message"_s, icon);
    returnFocusTo(field);
}

void FieldFrame::returnFocusTo(QWidget *field)
{
    if (!field || !field->isEnabled())
        return;
    const bool checking = m_checking;
    m_checking = true;
    field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->selectAll();
    m_checking = checking;
}

void FieldFrame::describe(QLineEdit *box)
{
    const auto it = m_codes.constFind(box);
    if (it == m_codes.constEnd() || !it->description)
        return;
    const QString value = box->text().trimmed();
    it->description->setText(value.isEmpty() || !it->source.describe ? QString()
                                                                     : it->source.describe(value).value_or(QString()));
    it->description->setCursorPosition(0);
}

bool FieldFrame::leave(QWidget *field)
{
    if (!checking())
        return true;
    const bool wasChecking = m_checking;
    m_checking = true;
    const auto done = [this, wasChecking](bool accepted) {
        m_checking = wasChecking;
        return accepted;
    };
    if (FieldMissing(field)) {
        refuse(field, u"Information should be entered"_s, PromptIcon::Information);
        return done(false);
    }
    if (auto *box = qobject_cast<QLineEdit *>(field); box && m_codes.contains(box)) {
        const Code &code = m_codes[box];
        const QString value = box->text().trimmed();
        if (value.isEmpty()) {
            if (code.description)
                code.description->clear();
        } else if (code.source.describe) {
            const std::optional<QString> description = code.source.describe(value);
            if (!description) {
                if (code.description)
                    code.description->clear();
                refuse(field, code.source.invalidMessage, PromptIcon::Exclamation);
                return done(false);
            }
            if (code.description) {
                code.description->setText(*description);
                code.description->setCursorPosition(0); // the beginning of a long name shows
            }
        }
    }
    if (!checkDate(field))
        return done(false);
    for (const auto &check : m_checks.value(field)) {
        if (!check()) {
            returnFocusTo(field);
            return done(false);
        }
    }
    m_passedBack.removeAll(field);
    return done(true);
}

void FieldFrame::passBack(QWidget *field)
{
    if (checking() && !m_passedBack.contains(field))
        m_passedBack.append(field);
}

bool FieldFrame::checkFocused()
{
    // The boxes the clerk went back from first, in the order they are typed.
    for (const QString &key : keys(m_order)) {
        QWidget *w = field(key);
        if (w && m_passedBack.contains(w) && w->isEnabled() && qobject_cast<QLineEdit *>(w) && !leave(w))
            return false;
    }
    m_passedBack.clear();
    QWidget *focus = QApplication::focusWidget();
    for (QWidget *w = focus; w; w = w->parentWidget()) {
        if (!keyOf(w).isEmpty())
            return qobject_cast<QLineEdit *>(w) ? leave(w) : true;
    }
    return true;
}

bool FieldFrame::checkMandatory()
{
    for (const QString &key : keys(m_order)) {
        QWidget *w = field(key);
        if (w && w->isEnabled() && FieldMissing(w)) {
            refuse(w, u"Information should be entered"_s, PromptIcon::Information);
            return false;
        }
    }
    for (const QString &key : keys(m_mandatory)) {
        QWidget *w = field(key);
        if (w && w->isEnabled() && FieldMissing(w)) {
            refuse(w, u"Information should be entered"_s, PromptIcon::Information);
            return false;
        }
    }
    return true;
}

bool FieldFrame::moveFocus(QWidget *from, bool forward)
{
    const QStringList order = keys(m_order);
    qsizetype at = order.indexOf(keyOf(from));
    if (at < 0)
        return false;
    for (;;) {
        at = forward ? at + 1 : at - 1;
        if (at < 0 || at >= order.size())
            return false;
        QWidget *next = field(order.at(at));
        if (next && next->isEnabled() && !next->isHidden() && next->focusPolicy() != Qt::NoFocus)
            bringPageForward(next, m_screen);
        if (next && next->isEnabled() && next->isVisibleTo(m_screen) && next->focusPolicy() != Qt::NoFocus) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
}

void FieldFrame::focusFirst()
{
    for (const QString &key : keys(m_order)) {
        QWidget *w = field(key);
        if (w && w->isEnabled() && !w->isHidden() && w->focusPolicy() != Qt::NoFocus) {
            bringPageForward(w, m_screen);
            returnFocusTo(w);
            return;
        }
    }
}

void FieldFrame::clear()
{
    m_passedBack.clear();
    for (const auto &[key, w] : m_fields) {
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            edit->clear(); // a masked box shows its mask again
        else if (auto *box = qobject_cast<QCheckBox *>(w))
            box->setCheckState(Qt::Unchecked);
    }
}

void FieldFrame::enableFields(bool enabled)
{
    for (const auto &[key, w] : m_fields)
        w->setEnabled(enabled);
}

void FieldFrame::openLookup(QLineEdit *box)
{
    try {
        if (const auto code = LookupDialog::choose(m_session.db(), m_prompter, m_lookups.value(box)(), m_screen,
                                                   box->text().trimmed()))
            box->setText(*code);
    } catch (const DbError &e) {
        m_prompter.message(e.screenMessage(), u"Message"_s, PromptIcon::Critical);
    }
    // Back to the screen, with the focus in the box the lookup was opened from.
    m_screen->window()->activateWindow();
    returnFocusTo(box);
}

bool FieldFrame::key(QWidget *field, QKeyEvent *event)
{
    if (m_keyHook && m_keyHook(field, event))
        return true;
    // A grid, list or tree keeps its keys for its own cells.
    if (qobject_cast<QAbstractItemView *>(field))
        return false;
    const int key = event->key();
    if (key == Qt::Key_F1) {
        auto *box = qobject_cast<QLineEdit *>(field);
        if (!box || !m_lookups.contains(box))
            return false;
        openLookup(box);
        return true;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const bool forward = isEnter(key) || key == Qt::Key_Down;
    if (!forward && key != Qt::Key_Up)
        return false;
    // A combo box keeps its arrows for its items.
    if (!isEnter(key) && qobject_cast<QComboBox *>(field))
        return false;
    // Going back is no leaving: the clerk returns to correct the box before it, and
    // this box is checked when he goes forward through it again or saves.
    if (!forward)
        passBack(field);
    else if (!leave(field))
        return true;
    m_leftByKey = field;
    if (!moveFocus(field, forward) || QApplication::focusWidget() == field)
        m_leftByKey = nullptr;
    return true;
}

void FieldFrame::leftByFocus(QWidget *field)
{
    QWidget *to = QApplication::focusWidget();
    // Only a move to another box of this screen is checked: a click on the toolbar
    // (Save, Cancel), a message box or another window never traps the clerk in a box.
    if (m_checking || !to || to == field || !m_screen->isAncestorOf(to) || !checking())
        return;
    if (!leave(field))
        returnFocusTo(field);
}

bool FieldFrame::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || keyOf(widget).isEmpty())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn: {
        QString hint = widget->toolTip();
        if (auto *edit = qobject_cast<QLineEdit *>(widget); edit && edit->inputMask().isEmpty() && !edit->isReadOnly())
            hint += u", Maximum length "_s + QString::number(KannadaBox::maxLength(edit));
        emit focused(widget, hint);
        break;
    }
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (m_leftByKey == widget) {
            m_leftByKey = nullptr;
            break;
        }
        // Only the clerk leaves a box (Tab, the mouse, a shortcut); a focus the window
        // moves itself (a maximised sub-window, a message box) checks nothing.
        const bool byClerk = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
                             || reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
        if (m_checking || !byClerk)
            break;
        // Shift+Tab goes back, as Up does.
        if (reason == Qt::BacktabFocusReason) {
            passBack(widget);
            break;
        }
        // The check and its message wait until the focus change in progress has finished.
        QTimer::singleShot(0, this, [this, field = QPointer<QWidget>(widget)] {
            if (field)
                leftByFocus(field);
        });
        break;
    }
    case QEvent::KeyPress:
        if (key(widget, static_cast<QKeyEvent *>(event)))
            return true;
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace sw
