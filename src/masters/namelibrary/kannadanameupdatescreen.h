// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/childform.h"
#include "shell/forms/runprogress.h"

class QCheckBox;
class QProgressBar;
class QPushButton;

namespace sw {

// "Update Kannada Names . . .": "&Upload" fills the candidates' missing Kannada names
// from the name library, or, with "&Update Library" ticked, teaches the library the
// words of candidates whose Kannada names are known. The run's status text goes to
// the status bar and its progress to the bar `PB`.
class KannadaNameUpdateScreen : public ChildForm
{
    Q_OBJECT
public:
    explicit KannadaNameUpdateScreen(const FormContext &context);

    QCheckBox *libraryBox() const { return m_library; } // "chk": build the library rather than fill names
    QPushButton *cmd() const { return m_upload; }
    QProgressBar *PB() const { return m_pb; }

    void activated() override;
    void cmd_Click();

private:
    FieldFrame *m_fields;
    QCheckBox *m_library;
    QPushButton *m_upload;
    QProgressBar *m_pb;
    RunProgress m_progress;
};

} // namespace sw
