// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/gravetyping.h"
#include "shell/core/legacytext.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace sw {

void graveAccentTyping(QLineEdit *edit)
{
    // Connected to the box's parent, not the box, so that a box which keeps its case
    // (its upper-casing connection dropped) still has its apostrophes turned. The text
    // is read back rather than taken from the signal: the upper-casing may have run first.
    QObject::connect(edit, &QLineEdit::textEdited, edit->parent(), [edit] {
        if (!edit->text().contains(u'\''))
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(legacytext::graveApostrophes(edit->text()));
        edit->setCursorPosition(cursor);
    });
}

} // namespace sw
