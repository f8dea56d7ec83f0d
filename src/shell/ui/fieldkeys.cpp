// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/fieldkeys.h"

#include <QLineEdit>

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

} // namespace sw
