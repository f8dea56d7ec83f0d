// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/childform.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace sw {

// "Kannada Library . . .": the word library by hand. The grid `spread` lists every
// English word with its Kannada spelling; a click on a row (or Enter on it) puts the
// pair into the boxes, "&OK" stores the pair in the boxes (asking before it replaces
// a spelling), Delete in the grid removes the word of the active row after a
// question; what was stored, kept or deleted goes to the message panel. The boxes
// stand in the screens' frame: the English word is typed in capitals, Enter and Down
// walk to "&OK". The Kannada box and column show the legacy font and keep its bytes
// as typed.
class KannadaLibraryScreen : public ChildForm
{
    Q_OBJECT
public:
    explicit KannadaLibraryScreen(const FormContext &context);

    QLineEdit *text(int index) const { return index == 0 ? m_english : m_kannada; }
    QPushButton *cmd(int index) const { return index == 0 ? m_ok : m_cancel; }
    QTableWidget *spread() const { return m_spread; }

    void activated() override;
    void cmd_Click(int index);
    // Reloads the grid from the library.
    void reload();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void store();
    void deleteActiveRow();
    void takeActiveRow();

    FieldFrame *m_fields;
    QLineEdit *m_english;
    QLineEdit *m_kannada;
    QTableWidget *m_spread;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace sw
