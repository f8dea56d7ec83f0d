// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/printing/printselection.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/forms/reportform.h"

#include <map>
#include <memory>

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

namespace sw {

class PrintingRun;
class ScreenRegistry;
class StationeryLedger;

// CERTPRINT: the selection of a printing run (degree, college and register-number
// ranges, date of issue, certificate prefix and range, type) and the run itself on
// "preview" or "print". Opened from N24 to print and from N2F (mode "P") to write
// the depository's PDF copies of printed certificates. The checks and the run live
// in PrintingRun; this screen only collects the boxes and shows the progress.
class CertPrint final : public ReportForm
{
    Q_OBJECT
public:
    CertPrint(const FormContext &context, PrintMode mode);

    void activated() override;
    void VPSproc(const QString &operation) override;

    // Sheets go to the default printer unless the caller chose another output.
    void setOutput(std::unique_ptr<SheetOutput> output) { m_output = std::move(output); }
    PrintSelection selection() const;
    QLineEdit *text(int index) const { return m_text.at(index); }
    QLineEdit *mskdt0() const { return m_date; }
    QCheckBox *chk(int index) const { return m_chk[index]; }
    // Stops a run between two sheets; enabled while a run goes on.
    QPushButton *stopButton() const { return m_stop; }
    // Settles the sheets a run left waiting for confirmation, then registers sheets
    // that came out badly after their numbers were stored (print mode).
    QPushButton *spoiledButton() const { return m_spoiled; }
    void registerSpoiledSheets();

    static QString caption(PrintMode mode);

protected:
    // Closing the screen while a run goes on stops the run after its sheet instead:
    // the run must not lose its screen between two sheets.
    void closeEvent(QCloseEvent *event) override;

private:
    bool settlePendingSheets(StationeryLedger &ledger, const QString &prefix);
    QLineEdit *addBox(int index, const QString &caption, const QString &hint, int row, int column);

    PrintMode m_mode;
    std::map<int, QLineEdit *> m_text;
    QLineEdit *m_date = nullptr;
    QCheckBox *m_chk[3] = {};
    std::unique_ptr<SheetOutput> m_output;
    QGridLayout *m_grid = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_spoiled = nullptr;
    PrintingRun *m_run = nullptr; // the run going on, if any
};

void registerPrintingScreens(ScreenRegistry &screens);

} // namespace sw
