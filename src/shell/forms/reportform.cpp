// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/reportform.h"

#include "shell/forms/commanddispatcher.h"

namespace sw {

ToolStates ReportForm::reportTools() const
{
    ToolStates s{};
    s[slot(Command::Preview)] = s[slot(Command::Print)] = s[slot(Command::Spool)] = s[slot(Command::Exit)] = true;
    return s;
}

void ReportForm::activated()
{
    if (!m_firstActivate) {
        commands().restoreToolState(formName());
        return;
    }
    m_firstActivate = false;
    commands().setToolStates(reportTools());
}

} // namespace sw
