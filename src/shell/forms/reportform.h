// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/childform.h"

namespace sw {

// A report screen: selection fields and options, answering "preview", "print" and
// "spool" from the main window through VPSproc. To build one, subclass ReportForm,
// put the selection fields into body(), implement VPSproc, and register a factory
// for its menu code in the ScreenRegistry (see screenregistry.h).
//
// On its first activation the toolbar offers the commands reportTools() names
// (preview, print, spool and exit unless the screen says otherwise); later
// activations restore the toolbar as the screen left it.
class ReportForm : public ChildForm
{
    Q_OBJECT
public:
    using ChildForm::ChildForm;

    // Called with "preview", "print" or "spool".
    virtual void VPSproc(const QString &operation) = 0;

    void activated() override;

protected:
    virtual ToolStates reportTools() const;
};

} // namespace sw
