// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/nad/nadexport.h"
#include "reports/screens/reportscreen.h"

class QRadioButton;

namespace sw {

// NAD Export . . .: the depository upload workbook in the CDSL or the NSDL layout,
// opened for the clerk to check and save, or the DigiLocker upload files.
class NadExportScreen final : public ReportScreen
{
    Q_OBJECT
public:
    explicit NadExportScreen(const FormContext &context, QWidget *parent = nullptr);

    // Where the last export was written (empty before the first).
    QString lastOutput() const { return m_lastOutput; }

protected:
    bool generate() override;
    // Preview writes the workbook or the upload files; there is nothing to print or spool
    // from the screen itself, so those commands are not offered.
    ToolStates reportTools() const override;
    bool fieldLeft(QLineEdit *field) override;

private:
    NadSelection selection() const;

    QLineEdit *m_degreeFrom, *m_degreeTo, *m_collegeFrom, *m_collegeTo;
    QLineEdit *m_degreeFromName, *m_degreeToName, *m_collegeFromName, *m_collegeToName;
    QRadioButton *m_cdsl, *m_nsdl, *m_digiLocker;
    QString m_lastOutput;
};

} // namespace sw
