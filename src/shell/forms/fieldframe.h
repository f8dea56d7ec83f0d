// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"
#include "shell/forms/lookupdialog.h"

#include <QHash>
#include <QLineEdit>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QKeyEvent;
class QRadioButton;

namespace sw {

class Session;

// A code of a master table as a screen offers it: the F1 lookup, and the description
// shown beside the code. `describe` gives nullopt for a code the master does not have,
// which the box refuses with `invalidMessage`.
struct CodeSource
{
    std::function<LookupRequest()> lookup;
    std::function<std::optional<QString>(const QString &code)> describe;
    QString invalidMessage;
};

// A text box as wide as the text it takes: its size follows its maximum length (up to
// twenty-six capitals; longer texts scroll) in whatever font the screen's appearance gives
// it, so a frame of boxes keeps its designed size on any screen.
class FieldBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit FieldBox(int widthInCharacters, QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr int kWidest = 26;

private:
    int m_characters;
};

// The boxes of a screen inside its frame `Frame`, and the rules every screen's boxes
// follow, written once:
//  - control arrays named as the installations name them: text_i (key "Ti"), mskdt_i
//    ("Mi"), chk_i ("Ci"), opt_i ("Oi"); other widgets join under a key of their own;
//  - typing upper-cased (boxes passed to keepCase() excepted);
//  - Enter and Down go to the next box of the field order, Up to the previous one,
//    skipping disabled boxes and bringing forward the page of a tabbed frame the next
//    box is on; Tab and the mouse move as usual; a push button of the field order is
//    pressed by Enter, as on every screen;
//  - F1 in a box with a lookup opens the lookup window on the box's current value;
//  - leaving a box forwards for another box of the screen checks it: a mandatory box left empty
//    gets "Information should be entered", a code box an unknown code its master's
//    message (and otherwise its description filled), then the screen's own check. A
//    refused box keeps the focus, its text selected. Going back (Up, Shift+Tab) and
//    leaving for the toolbar, a message box or another window check nothing; Save asks
//    for the check of the box it was called from, and of the boxes gone back from, with
//    checkFocused();
//  - a box that gets the focus puts its tip and maximum length in the screen's hint.
//
// The frame belongs to its screen (a QObject child) and is used from the GUI thread.
class FieldFrame : public QObject
{
    Q_OBJECT
public:
    FieldFrame(QWidget *screen, Session &session, Prompter &prompter);

    QGroupBox *box() const { return m_box; }
    QGridLayout *grid() const { return m_grid; }

    enum class MaskKind { Date, Time };

    // A text box text_i with its caption on a new line of the frame.
    FieldBox *addText(int index, const QString &label, const QString &toolTip, int maxLength);
    // A masked date (dd/mm/yyyy, empty "__/__/____") or time ("__:__") box mskdt_i.
    FieldBox *addDate(int index, const QString &label, const QString &toolTip, MaskKind kind = MaskKind::Date);
    QCheckBox *addCheck(int index, const QString &caption);
    QRadioButton *addOption(int index, const QString &caption);
    // A read-only box text_i beside `anchor` that shows what the code in it stands for.
    FieldBox *addDescription(int index, QWidget *anchor);
    // Moves `field` (and its caption) to the line of `anchor`, after it.
    void moveBeside(QWidget *field, QWidget *anchor);
    // Another kind of field (a list of choices) on a new line of the frame, under `key`.
    void addField(const QString &key, const QString &label, QWidget *widget);
    // Another widget (a grid, a list) under its own key of the field order.
    void registerField(const QString &key, QWidget *widget);
    void keepCase(QLineEdit *box);

    void setMandatoryFields(const QString &keys) { m_mandatory = keys; }
    void setFieldOrder(const QString &keys) { m_order = keys; }
    QString mandatoryFields() const { return m_mandatory; }
    QString fieldOrder() const { return m_order; }
    // The keys the mandatory list and the field order name that no field of the frame
    // has: a misspelt key would drop its box's "Information should be entered" check or
    // its place in the order without a word. Every screen is opened by a test that
    // requires none.
    QStringList unknownKeys() const;

    // F1 in `box` opens the lookup window; the chosen code goes into the box.
    void setLookup(QLineEdit *box, std::function<LookupRequest()> request);
    // A code box: its lookup, its check against the master and its description box.
    void setCode(QLineEdit *box, CodeSource source, QLineEdit *description = nullptr);
    // The screen's own check of `field`, made after the mandatory and code checks; it
    // says why it refuses and returns false to keep the focus in the field.
    void setCheck(QWidget *field, std::function<bool()> check);
    // Whether leaving a box checks it now (record screens: while adding, editing or
    // deleting). Always, unless set.
    void setChecksActive(std::function<bool()> active) { m_checksActive = std::move(active); }
    // Runs before the frame's own keys; true when the screen took the key.
    void setKeyHook(std::function<bool(QWidget *, QKeyEvent *)> hook) { m_keyHook = std::move(hook); }

    QWidget *field(const QString &key) const;
    QString keyOf(const QWidget *widget) const;
    QLineEdit *text(int index) const;
    QLineEdit *mskdt(int index) const;
    QCheckBox *chk(int index) const;
    QRadioButton *opt(int index) const;
    const std::map<QString, QWidget *> &fields() const { return m_fields; }

    // True when `control` is a mandatory field and is empty (a date box showing
    // "__/__/____" or a time box "__:__" counts as empty).
    bool FieldMissing(QWidget *control) const;
    static bool isEmpty(const QWidget *control);

    // Fills the description box of a code box from its master, without a message.
    void describe(QLineEdit *box);
    // The checks of leaving `field`; false when refused (message shown, focus kept).
    bool leave(QWidget *field);
    // The check of the box that has the focus, as Save makes it first (and of the boxes
    // the clerk went back from with Up or Shift+Tab since they were last checked); true
    // when none refuses.
    bool checkFocused();
    // The first empty mandatory box of the field order gets "Information should be
    // entered" and the focus; true when none is empty.
    bool checkMandatory();
    // A date box holding something that is no date: refused, naming the box.
    bool checkDate(QWidget *field);
    // Shows `text` (title "Message") and puts the focus back into `field`, its text selected.
    void refuse(QWidget *field, const QString &text, PromptIcon icon = PromptIcon::Exclamation);
    // Puts the focus into `field` without the box it leaves being checked.
    void returnFocusTo(QWidget *field);
    // The next (or previous) enabled field of the field order; false when there is none.
    bool moveFocus(QWidget *from, bool forward);
    // The first enabled field of the field order gets the focus, as a screen opens.
    void focusFirst();
    // Empties the boxes and descriptions, unticks the boxes.
    void clear();
    void enableFields(bool enabled);

    static QString emptyDate() { return QStringLiteral("__/__/____"); }
    static QString emptyTime() { return QStringLiteral("__:__"); }

signals:
    // A box got the focus; `hint` is its tip (and maximum length) for the status bar.
    void focused(QWidget *field, const QString &hint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place(const QString &label, QWidget *widget, const QString &key);
    QStringList keys(const QString &list) const;
    bool checking() const { return !m_checksActive || m_checksActive(); }
    void openLookup(QLineEdit *box);
    bool key(QWidget *field, QKeyEvent *event);
    void leftByFocus(QWidget *field);
    // `field` was left backwards, unchecked: Save checks it.
    void passBack(QWidget *field);

    QWidget *m_screen;
    Session &m_session;
    Prompter &m_prompter;
    QGroupBox *m_box;
    QGridLayout *m_grid;
    int m_nextRow = 0;
    std::map<QString, QWidget *> m_fields;
    QHash<QWidget *, QWidget *> m_captions;
    QString m_mandatory;
    QString m_order;
    QHash<QLineEdit *, std::function<LookupRequest()>> m_lookups;
    struct Code
    {
        CodeSource source;
        QPointer<QLineEdit> description;
    };
    QHash<QLineEdit *, Code> m_codes;
    QHash<QWidget *, std::vector<std::function<bool()>>> m_checks;
    std::function<bool()> m_checksActive;
    std::function<bool(QWidget *, QKeyEvent *)> m_keyHook;
    bool m_checking = false;               // a check is running or putting the focus back
    QPointer<QWidget> m_leftByKey;         // the box Enter, Down or Up has just checked and left
    QList<QPointer<QWidget>> m_passedBack; // left with Up or Shift+Tab and not checked since
};

} // namespace sw
