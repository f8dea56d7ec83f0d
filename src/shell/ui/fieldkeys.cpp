// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/fieldkeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace sw {

void upperCaseTyping(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

namespace {

// Watches every key of the application for Enter on a focused push button.
class EnterPressesButton final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void enterPressesButtons()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    // Without a meta-object of its own the watcher is told apart by its C++ type: a
    // findChild would take any child of the application for it and install nothing.
    const QObjectList &children = app->children();
    if (std::any_of(children.begin(), children.end(),
                    [](const QObject *child) { return dynamic_cast<const EnterPressesButton *>(child); }))
        return;
    app->installEventFilter(new EnterPressesButton(app));
}

} // namespace sw
